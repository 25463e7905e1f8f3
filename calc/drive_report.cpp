#include <algorithm>
#include <cmath>

#include "calc/number_format.h"
#include "calc/reports.h"

namespace korvale::calc {
namespace {

constexpr std::size_t kCaseColumn = 10;
constexpr std::size_t kColumn = 11;

std::string fixed(double x, int decimals) {
  std::string text;
  appendFixed(text, x, decimals);
  return text;
}

std::string floored(double x, int decimals) {
  std::string text;
  appendFloored(text, x, decimals);
  return text;
}

// 4 -> "4", 1.5 -> "1.5", 17/7 -> "2.4286"
std::string ratioDecimal(double ratio) {
  std::string text = fixed(ratio, 4);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string beltTeethText(double teeth) {
  return std::floor(teeth) == teeth ? fixed(teeth, 0) : fixed(teeth, 2);
}

std::vector<std::string_view> warningIds(unsigned warnings) {
  std::vector<std::string_view> ids;
  for (const DriveWarning warning : kDriveWarnings) {
    if ((warnings & static_cast<unsigned>(warning)) != 0) ids.push_back(DriveWarningId(warning));
  }
  return ids;
}

void writeRecords(const CalcArguments& arguments, const DriveSolution& solution,
                  BufferedOutput& out) {
  const Units units{arguments.inch};
  RecordWriter records(arguments.format,
                       {"case", "profile", "z1", "z2", "D1", "D2", "Da1", "Da2", "C", "L",
                        "belt_teeth", "ratio", "wrap1", "wrap2", "mesh1", "mesh2", "warnings"},
                       out);
  for (const DriveRow& row : solution.rows) {
    records.text(row.kind);
    records.text(arguments.profile->name);
    records.numberText(std::to_string(arguments.z1));
    records.numberText(std::to_string(arguments.z2));
    for (const double length :
         {solution.D1, solution.D2, solution.Da1, solution.Da2, row.centre, row.length}) {
      records.number(units.of(length));
    }
    records.number(row.beltTeeth);
    records.number(static_cast<double>(arguments.z2) / static_cast<double>(arguments.z1));
    records.number(row.wrap1);
    records.number(row.wrap2);
    records.numberText(std::to_string(row.mesh1));
    records.numberText(std::to_string(row.mesh2));
    records.list(warningIds(row.warnings));
    records.endRecord();
  }
}

void writeText(const DriveText& drive, BufferedOutput& out) {
  std::string& text = out.text();
  text += drive.heading;
  out.endLine();
  for (int i = 0; i < 2; ++i) {
    text += drive.pulleys[i];
    out.endLine();
  }
  out.endLine();
  text.append("case").append(kCaseColumn - 4, ' ');
  for (const std::string& heading :
       {"C " + drive.unit, "change " + drive.unit, "L " + drive.unit, std::string("belt teeth"),
        std::string("wrap1 deg"), std::string("wrap2 deg"), std::string("mesh1"),
        std::string("mesh2")}) {
    appendRightAligned(text, heading, kColumn);
  }
  out.endLine();
  for (const DriveTextRow& row : drive.rows) {
    text.append(row.kind).append(kCaseColumn - row.kind.size(), ' ');
    for (const std::string* cell : {&row.centre, &row.change, &row.length, &row.beltTeeth,
                                    &row.wrap1, &row.wrap2, &row.mesh1, &row.mesh2}) {
      appendRightAligned(text, *cell, kColumn);
    }
    out.endLine();
  }
  for (const std::string& warning : drive.warnings) {
    text += warning;
    out.endLine();
  }
}

}  // namespace

DriveText DriveTextOf(const CalcArguments& arguments, const DriveSolution& solution) {
  const Units units{arguments.inch};
  const int decimals = units.decimals();
  const PulleyPair pair{arguments.profile, arguments.z1, arguments.z2};
  unsigned all = 0;
  for (const DriveRow& row : solution.rows) all |= row.warnings;
  DriveText drive;
  drive.unit = units.name();
  drive.tipMarked = (all & static_cast<unsigned>(DriveWarning::OffsetUnconfirmed)) != 0;
  drive.ratio =
      std::to_string(solution.ratioDriven) + "/" + std::to_string(solution.ratioDriving) + " (" +
      ratioDecimal(static_cast<double>(arguments.z2) / static_cast<double>(arguments.z1)) + ")";
  drive.heading = std::string(arguments.profile->name) + " drive: " + std::to_string(arguments.z1) +
                  " and " + std::to_string(arguments.z2) + " teeth, ratio " + drive.ratio;
  const double pitchDiameters[] = {solution.D1, solution.D2};
  const double tipDiameters[] = {solution.Da1, solution.Da2};
  const long teeth[] = {arguments.z1, arguments.z2};
  for (int i = 0; i < 2; ++i) {
    drive.pitchDiameter[i] = floored(units.of(pitchDiameters[i]), decimals);
    drive.tipDiameter[i] = floored(units.of(tipDiameters[i]), decimals);
    drive.pulleys[i] = "pulley " + std::to_string(i + 1) + ": " + std::to_string(teeth[i]) +
                       " teeth, D " + drive.pitchDiameter[i] + " " + drive.unit + ", Da " +
                       drive.tipDiameter[i] + " " + drive.unit + (drive.tipMarked ? "*" : "");
  }
  for (const DriveRow& row : solution.rows) {
    const bool stock = row.kind == "shorter" || row.kind == "longer" || row.kind == "exact";
    const std::string change = fixed(units.of(row.centreChange), decimals);
    drive.rows.push_back({std::string(row.kind), fixed(units.of(row.centre), decimals),
                          !stock ? "" : (change[0] == '-' ? change : "+" + change),
                          fixed(units.of(row.length), decimals), beltTeethText(row.beltTeeth),
                          fixed(row.wrap1, 1), fixed(row.wrap2, 1), std::to_string(row.mesh1),
                          std::to_string(row.mesh2)});
  }
  for (const DriveWarning warning : kDriveWarnings) {
    if ((all & static_cast<unsigned>(warning)) == 0) continue;
    std::string rows;
    for (const DriveRow& row : solution.rows) {
      if (row.has(warning)) rows += (rows.empty() ? "" : ", ") + std::string(row.kind);
    }
    const bool everyRow = std::all_of(solution.rows.begin(), solution.rows.end(),
                                      [&](const DriveRow& row) { return row.has(warning); });
    drive.notes.push_back({warning, everyRow ? std::string() : rows});
    std::string line = warning == DriveWarning::OffsetUnconfirmed ? "* " : "warning: ";
    line += DriveWarningId(warning);
    if (!everyRow) line += " (" + rows + ")";
    line += ": " + DriveWarningText(warning, pair);
    drive.warnings.push_back(std::move(line));
  }
  return drive;
}

std::string DriveFailureText(const CalcArguments& arguments, const DriveFailure& failure) {
  const Units units{arguments.inch};
  const int decimals = units.decimals();
  const std::string unit = std::string(" ") + units.name();
  if (failure.kind == DriveFailure::CentreTooSmall) {
    return "centre distance " + fixed(units.of(arguments.value), decimals) + unit +
           " is too small for these pulleys: it must be more than " +
           fixed(units.of(failure.limit), decimals) + unit +
           ", half the difference of their pitch diameters";
  }
  const double length = arguments.given == DriveGiven::BeltTeeth
                            ? arguments.value * arguments.profile->pitch
                            : arguments.value;
  const std::string belt = arguments.given == DriveGiven::BeltTeeth
                               ? "a belt of " + fixed(arguments.value, 0) + " teeth (" +
                                     fixed(units.of(length), decimals) + unit + ")"
                               : "a belt of " + fixed(units.of(length), decimals) + unit;
  return belt + " cannot be fitted on these pulleys: it must be longer than " +
         fixed(units.of(failure.limit), decimals) + unit +
         ", the larger pulley's pitch circumference";
}

int WriteDriveReport(const CalcArguments& arguments, BufferedOutput& out, OutputStream& err) {
  const DriveSolution solution = SolveDrive({{arguments.profile, arguments.z1, arguments.z2},
                                             arguments.given,
                                             arguments.value,
                                             arguments.increment});
  if (solution.failure) {
    err.write("korvale-calc: " + DriveFailureText(arguments, *solution.failure) + "\n");
    return 1;
  }
  if (arguments.format == Format::Text) {
    writeText(DriveTextOf(arguments, solution), out);
  } else {
    writeRecords(arguments, solution, out);
  }
  return 0;
}

}  // namespace korvale::calc
