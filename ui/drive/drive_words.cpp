#include "ui/drive/drive_words.h"

#include "core/belt_load.h"
#include "report/number_format.h"

#include <string>
#include <utility>

namespace korvale::ui {
namespace {

struct Words {
  DriveWord word;
  std::string_view chinese;
  std::string_view english;
};

// clang-format off
constexpr Words kWords[] = {
    {DriveWord::Title,        "Korvale 带传动",     "Korvale belt drive"},
    {DriveWord::Profile,      "带型(&P)",           "&Profile"},
    {DriveWord::DrivingTeeth, "主动轮齿数(&1)",     "Driving pulley teeth (&1)"},
    {DriveWord::DrivenTeeth,  "从动轮齿数(&2)",     "Driven pulley teeth (&2)"},
    {DriveWord::Given,        "已知(&G)",           "&Given"},
    {DriveWord::GivenCentre,  "中心距",             "Centre distance"},
    {DriveWord::GivenBelt,    "带齿数",             "Belt teeth"},
    {DriveWord::GivenLength,  "带节线长",           "Belt pitch length"},
    {DriveWord::Value,        "数值(&V)",           "&Value"},
    {DriveWord::Increment,    "带齿数增量(&I)",     "Belt teeth in steps of (&I)"},
    {DriveWord::Units,        "单位(&U)",           "&Units"},
    {DriveWord::Copy,         "复制(&C)",           "&Copy"},
    {DriveWord::Results,      "结果",               "Results"},
    {DriveWord::Pulley1,      "主动轮",             "Driving pulley"},
    {DriveWord::Pulley2,      "从动轮",             "Driven pulley"},
    {DriveWord::Ratio,        "传动比",             "Ratio"},
    {DriveWord::Case,         "工况",               "Case"},
    {DriveWord::Centre,       "中心距",             "C"},
    {DriveWord::Change,       "变化",               "Change"},
    {DriveWord::Length,       "节线长",             "L"},
    {DriveWord::BeltTeeth,    "带齿数",             "Belt teeth"},
    {DriveWord::Wrap1,        "包角1",              "Wrap 1"},
    {DriveWord::Wrap2,        "包角2",              "Wrap 2"},
    {DriveWord::Mesh1,        "啮合齿1",            "Mesh 1"},
    {DriveWord::Mesh2,        "啮合齿2",            "Mesh 2"},
    {DriveWord::UseBelt,      "双击或回车采用此带", "Double-click or Enter to use this belt"},
    {DriveWord::Drawing,      "传动简图",           "Drive drawing"},
    {DriveWord::MenuItem,     "带传动(&B)…",        "&Belt drive…"},
    {DriveWord::Load,         "负载",               "Load"},
    {DriveWord::Power,        "功率 kW(&O)",        "P&ower (kW, W or hp)"},
    {DriveWord::Torque,       "扭矩 N·m(&T)",       "&Torque (N·m)"},
    {DriveWord::Rpm,          "主动轮转速 rpm(&S)", "Driving &speed (rpm)"},
    {DriveWord::ServiceFactor, "工况系数(&F)",      "Service &factor"},
    {DriveWord::Width,        "带宽(&W)",           "Belt &width"},
    {DriveWord::RatedPower,   "额定功率 kW(&R)",    "&Rated power (kW)"},
    {DriveWord::WidthColumn,  "带宽",               "Width"},
    {DriveWord::RatedColumn,  "额定 kW",            "Rated kW"},
    {DriveWord::Margin,       "裕度",               "Margin"},
    {DriveWord::Tst,          "安装张力 N",         "Tst N"},
    {DriveWord::Tight,        "紧边 N",             "Tight N"},
    {DriveWord::Slack,        "松边 N",             "Slack N"},
    {DriveWord::Frequency,    "频率 Hz",            "f Hz"},
    {DriveWord::HubStatic,    "静轴载 N",           "Hub static N"},
    {DriveWord::HubRunning,   "运行轴载 N",         "Hub running N"},
};
// clang-format on

}  // namespace

std::string_view driveWord(DriveWord word, Language language) {
  for (const Words& words : kWords) {
    if (words.word == word) return language == Language::Chinese ? words.chinese : words.english;
  }
  return {};
}

std::string_view driveCase(std::string_view kind, Language language) {
  constexpr std::pair<std::string_view, std::string_view> kCases[] = {
      {"requested", "所求"}, {"shorter", "较短带"}, {"longer", "较长带"},
      {"exact", "整齿带"},   {"belt", "给定带"},    {"length", "给定长度"}};
  if (language == Language::English) return kind;
  for (const auto& [english, chinese] : kCases) {
    if (english == kind) return chinese;
  }
  return kind;
}

std::string driveSummary(const report::DriveText& results, Language language) {
  const std::string mark = results.tipMarked ? "*" : "";
  const auto pulley = [&](DriveWord word, int i) {
    const std::string tip = results.tipsKnown
                                ? results.tipDiameter[i] + " " + results.unit + mark
                                : (language == Language::English ? "not published" : "未公布");
    return driveName(word, language) + ": D " + results.pitchDiameter[i] + " " + results.unit +
           ", Da " + tip;
  };
  return pulley(DriveWord::Pulley1, 0) + "\n" + pulley(DriveWord::Pulley2, 1) + "\n" +
         driveName(DriveWord::Ratio, language) + " " + results.ratio;
}

std::vector<std::string> driveWarnings(const report::DriveText& results, const BeltProfile& profile,
                                       Language language) {
  if (language == Language::English) return results.warnings;
  std::string offset;
  report::appendShortest(offset, profile.pitchLineOffset);
  const std::string name(profile.name);
  std::string speedLimit;
  report::appendFixed(speedLimit, BeltRatingOf(profile).speedLimit, 2);
  std::vector<std::string> lines;
  for (const report::DriveNote& note : results.notes) {
    std::string sentence;
    switch (note.warning) {
      case DriveWarning::FewTeethInMesh:
        sentence = "小带轮啮合齿数少于 6，负载下皮带可能跳齿";
        if (results.kzNamed) sentence += "；额定值按 Kz 折减，每少一个啮合齿减 0.2";
        break;
      case DriveWarning::PulleyBelowStock:
        sentence = "有带轮少于 " + std::to_string(profile.smallestPulley) + " 齿，即 " + name +
                   " 常备带轮的最少齿数（样本参考，非标准）";
        break;
      case DriveWarning::TipsTouch:
        sentence = "在此中心距下两轮顶圆相接或重叠";
        break;
      case DriveWarning::OffsetUnconfirmed:
        sentence = "Da 依据 " + name + " 的 u = " + offset + " mm，" +
                   (profile.offsetSource == OffsetSource::Derived ? "由厂商节圆与外径推算"
                                                                  : "为常见数值，尚无资料证实");
        break;
      case DriveWarning::NoShorterBelt:
        sentence = "没有更短的整齿带能装上这对带轮";
        break;
      case DriveWarning::MakersTipDiffers:
        sentence = "厂商表中 " + std::to_string(profile.makersLargerTipUpTo) + " 齿及以下的 " +
                   name + " 带轮外径大于 D - 2u，请以厂商的外径为准";
        break;
      case DriveWarning::OverCapacity:
        sentence = "额定功率低于设计功率：请选更宽的带、更大的节距或更大的小带轮";
        break;
      case DriveWarning::SpeedOverLimit:
        sentence = "带速超过其额定值适用的 " + speedLimit + " m/s（6500 ft/min）";
        break;
      case DriveWarning::OutsideRatingTable:
        sentence = "额定值不涵盖此传动（带速过高，或啮合齿数少于 2）：不给出额定功率";
        break;
      case DriveWarning::NoPublicRating:
        sentence =
            "此带型没有公开的额定值：请将有效拉力与厂商资料比较，或填入厂商给出的该带宽额定功率";
        break;
      case DriveWarning::ServiceFactorAssumed:
        sentence = "未给出工况系数：取 1.5，即 " + std::string(kServiceFactorSource) +
                   " 为小节距同步带传动推荐的 1.5 至 2.0 的下限";
        break;
    }
    std::string rows;
    for (std::size_t from = 0; from < note.rows.size();) {
      const std::size_t end = note.rows.find(", ", from);
      if (!rows.empty()) rows += "、";
      rows += driveCase(note.rows.substr(from, end - from), language);
      from = end == std::string::npos ? note.rows.size() : end + 2;
    }
    const bool offsetNote = note.warning == DriveWarning::OffsetUnconfirmed;
    lines.push_back((offsetNote ? "* " : "警告 ") + std::string(DriveWarningId(note.warning)) +
                    (rows.empty() ? "" : "（" + rows + "）") + "：" + sentence);
  }
  return lines;
}

std::size_t loadMethodLine(const report::LoadText& load) {
  return report::LoadLinesBefore(load).size();
}

std::vector<std::string> loadLines(const report::LoadText& load, Language language) {
  std::vector<std::string> lines;
  if (language == Language::English) {
    lines = report::LoadLinesBefore(load);
    const std::vector<std::string> after = report::LoadLinesAfter(load);
    lines.insert(lines.end(), after.begin(), after.end());
    lines.push_back(
        "drawing: pulley 1 turning clockwise, the tight span solid, the slack one "
        "dashed; arrows along the running hub loads");
    return lines;
  }
  lines.push_back("负载：主动轮 " + load.power + " kW，" + load.rpm1 + " rpm；从动轮 " + load.rpm2 +
                  " rpm");
  lines.push_back("工况系数 " + load.serviceFactor +
                  (load.serviceFactorAssumed ? "（假定，" + std::string(kServiceFactorSource) + "）"
                                             : std::string()) +
                  "，设计功率 " + load.designPower + " kW");
  lines.push_back("扭矩：主动轮 " + load.torque1 + " N·m，从动轮 " + load.torque2 + " N·m；带速 " +
                  load.speed + " m/s");
  lines.push_back("有效拉力：设计功率下 " + load.pull + " N，实际功率下 " + load.runningPull +
                  " N");
  if (!load.rated) {
    std::string perWidth;
    for (const std::string& figure : load.pullPerWidth) {
      perWidth += (perWidth.empty() ? "" : "，") + figure;
    }
    lines.push_back("此带型没有公开的额定值" + (perWidth.empty()
                                                    ? std::string("：没有公开的标准带宽")
                                                    : "：每毫米带宽的有效拉力 " + perWidth));
  } else {
    lines.push_back(load.widthGiven ? "带宽：按给定" : "带宽：能承担设计功率的最窄标准带宽");
  }
  if (!load.shortfall.empty())
    lines.push_back("带宽不足：" + load.shortfall + "；请选更大的节距或更大的小带轮");
  if (load.rated)
    lines.push_back("额定值：" + load.ratingSource +
                    "；带宽系数 (b/b0)^1.14 取自 GB/T 11362-2008（转引）");
  lines.push_back("标准带宽：" + (load.widthSource.empty() ? std::string("此带型未见公开资料")
                                                           : load.widthSource));
  lines.push_back(
      load.massSource.empty()
          ? std::string("带的质量：无公开数据，故不给出 Tc、Tst、各边张力、检测力、频率与静轴载")
          : "带的质量：" + load.massSource);
  lines.push_back(
      "Tst = Te/2 + Tc：设计功率下松边保持张紧所需的最小安装张力；紧边与松边按实际功率");
  lines.push_back(
      "检测：在跨距中点压下跨距的 1/64，所需的力为 Tst/16 至 1.1 Tst/16（SDP/SI D790 p. T-3，"
      "未计其刚度项 (t/L)Y：无公开的 Y）；f：Tst 下跨距的固有频率");
  lines.push_back("轴载：两轴相同；运行轴载按各边张力减去 Tc");
  lines.push_back("简图：主动轮顺时针转，紧边为实线，松边为虚线；箭头为运行时的轴载方向");
  return lines;
}

std::string driveName(DriveWord word, Language language) {
  std::string name(driveWord(word, language));
  const std::size_t mark = name.find('&');
  if (mark == std::string::npos) return name;
  // "带型(&P)" -> "带型", "Driving pulley teeth (&1)" -> "Driving pulley teeth", "&Copy" -> "Copy"
  const std::size_t bracket = name.rfind('(', mark);
  if (bracket != std::string::npos && bracket + 1 == mark) {
    name.erase(bracket);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
  }
  name.erase(mark, 1);
  return name;
}

}  // namespace korvale::ui
