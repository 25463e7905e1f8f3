#include "ui/window_description.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace korvale::ui {
namespace {

constexpr int kTwipsPerInch = 1440;

constexpr std::string_view kFontFace = "宋体";
constexpr double kFontPoints = 10.5;
constexpr int kGb2312CharacterSet = 134;
constexpr FontDescription kRegular{kFontFace, kFontPoints, kGb2312CharacterSet, 400};
constexpr FontDescription kBold{kFontFace, kFontPoints, kGb2312CharacterSet, 700};

// One control a line, in the order the window creates them, as a resource script lists them.
WindowDescription makeDescription() {
  using K = ControlKind;
  using I = ControlId;
  // clang-format off
  return WindowDescription{"Korvale", 3150, 3375, {
      // {id, array name, member, kind, inside Frame1, {left, top, width, height} in twips, text,
      //  tab index, font}
      {I::Combo1_1, "Combo1", 1, K::DropDownComboBox, false, {1080, 840, 975, 330}, "5M", 8, kRegular},
      {I::Frame1, "Frame1", 0, K::Frame, false, {120, 1320, 2895, 1815}, "结果", 2, kRegular},
      {I::Text1_1, "Text1", 1, K::TextBox, true, {1560, 360, 975, 375}, "Text1", 6, kRegular},
      {I::Text1_0, "Text1", 0, K::TextBox, true, {1560, 1080, 975, 375}, "Text1", 4, kRegular},
      {I::Label1_4, "Label1", 4, K::Label, true, {240, 480, 1695, 255}, "顶圆直径Da:", 5, kBold},
      {I::Label1_3, "Label1", 3, K::Label, true, {240, 1200, 1455, 255}, "节圆直径 D:", 3, kBold},
      {I::Text2_0, "Text2", 0, K::TextBox, false, {1080, 240, 855, 315}, "20", 1, kRegular},
      {I::Label1_0, "Label1", 0, K::Label, false, {360, 240, 1215, 255}, "齿数T:", 7, kBold},
      {I::Label1_1, "Label1", 1, K::Label, false, {360, 840, 855, 255}, "模数M:", 0, kBold},
  }, {"3M", "5M", "8M", "14M"}};
  // clang-format on
}

}  // namespace

const ControlDescription& WindowDescription::control(ControlId id) const {
  for (const ControlDescription& c : controls) {
    if (c.id == id) return c;
  }
  throw std::out_of_range("no such control");
}

std::vector<const ControlDescription*> WindowDescription::tabOrder() const {
  std::vector<const ControlDescription*> order;
  for (const ControlDescription& c : controls) {
    if (c.focusable()) order.push_back(&c);
  }
  std::sort(order.begin(), order.end(),
            [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
  return order;
}

std::optional<ControlId> labelOf(ControlId id) {
  // Each input and result beside the label that names it, as the layout puts them in rows.
  constexpr std::pair<ControlId, ControlId> kLabelled[] = {
      {ControlId::Text2_0, ControlId::Label1_0},
      {ControlId::Combo1_1, ControlId::Label1_1},
      {ControlId::Text1_1, ControlId::Label1_4},
      {ControlId::Text1_0, ControlId::Label1_3}};
  for (const auto& [control, label] : kLabelled) {
    if (control == id) return label;
  }
  return std::nullopt;
}

Language languageForDesktop(std::string_view tag) {
  const std::string_view language = tag.substr(0, tag.find_first_of("-_.@"));
  const bool untold = language.empty() || language == "C" || language == "POSIX";
  return untold || language == "zh" ? Language::Chinese : Language::English;
}

std::string_view captionOf(ControlId id, Language language) {
  // Short enough to end before the box that is drawn over a label's right part in the widest
  // dialog fonts at the description's size and weight (DejaVu Sans Bold: "Teeth" 47 px of 48 at
  // 96 DPI, so no colons), and no letter below the baseline, which would reach under the label;
  // the Chinese captions' symbols where there is room ("T" and "M" are not).
  // clang-format off
  constexpr std::pair<ControlId, std::string_view> kEnglish[] = {
      {ControlId::Label1_0, "Teeth"},
      {ControlId::Label1_1, "Pitch"},
      {ControlId::Frame1, "Results"},
      {ControlId::Label1_4, "Outer Da"},
      {ControlId::Label1_3, "Pitch D"}};
  // clang-format on
  if (language == Language::English) {
    for (const auto& [control, caption] : kEnglish) {
      if (control == id) return caption;
    }
  }
  return Form1Description().control(id).text;
}

std::string accessibleName(ControlId id, Language language) {
  const std::optional<ControlId> label = labelOf(id);
  if (!label) return {};
  std::string_view caption = captionOf(*label, language);
  if (!caption.empty() && caption.back() == ':') caption.remove_suffix(1);
  return std::string(caption);
}

const WindowDescription& Form1Description() {
  static const WindowDescription description = makeDescription();
  return description;
}

int twipsToPixels(int twips, int dotsPerInch) {
  const long long scaled = static_cast<long long>(twips) * dotsPerInch;
  const long long half = kTwipsPerInch / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                      : -((-scaled + half) / kTwipsPerInch));
}

}  // namespace korvale::ui
