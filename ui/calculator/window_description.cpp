#include "ui/calculator/window_description.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace korvale::ui {
namespace {

constexpr int kTwipsPerInch = 1440;

// One control a line, in the order the window creates them (the order of ControlId), as a
// resource script lists them: its kind, its name in the control array, its container, its
// rectangle in twips, its text (the caption in Chinese) and English caption, its tab index,
// whether its font is bold, and for a label the control it names.
struct Row {
  ControlKind kind;
  std::string_view identity;  // "Text1(0)"
  bool insideFrame;
  TwipsRect bounds;
  std::string_view text;
  std::string_view english;
  int tabIndex;
  bool bold;
  std::optional<ControlId> names;
};

WindowDescription makeDescription() {
  using K = ControlKind;
  using I = ControlId;
  WindowDescription window{
      "Korvale", 3150, 3375, {"宋体", 10.5, 134 /* GB2312 */, 400}, {}, {"3M", "5M", "8M", "14M"}};
  // The English captions end before the box drawn over a label's right part in the widest dialog
  // fonts at this size and weight (DejaVu Sans Bold: "Teeth" 47 px of 48 at 96 DPI, so no
  // colons) and have no letter below the baseline, which would reach under the label; they keep
  // the Chinese captions' symbols where there is room ("T" and "M" are not).
  // clang-format off
  const Row rows[] = {
      // kind              identity     frame  {left, top, width, height}  text           English     tab bold   names
      {K::DropDownComboBox, "Combo1(1)", false, {1080,  840,  975,  330}, "5M",          "",         8, false, {}},
      {K::Frame,            "Frame1(0)", false, { 120, 1320, 2895, 1815}, "结果",        "Results",  2, false, {}},
      {K::TextBox,          "Text1(1)",  true,  {1560,  360,  975,  375}, "Text1",       "",         6, false, {}},
      {K::TextBox,          "Text1(0)",  true,  {1560, 1080,  975,  375}, "Text1",       "",         4, false, {}},
      {K::Label,            "Label1(4)", true,  { 240,  480, 1695,  255}, "顶圆直径Da:", "Outer Da", 5, true,  I::Text1_1},
      {K::Label,            "Label1(3)", true,  { 240, 1200, 1455,  255}, "节圆直径 D:", "Pitch D",  3, true,  I::Text1_0},
      {K::TextBox,          "Text2(0)",  false, {1080,  240,  855,  315}, "20",          "",         1, false, {}},
      {K::Label,            "Label1(0)", false, { 360,  240, 1215,  255}, "齿数T:",      "Teeth",    7, true,  I::Text2_0},
      {K::Label,            "Label1(1)", false, { 360,  840,  855,  255}, "模数M:",      "Pitch",    0, true,  I::Combo1_1},
  };
  // clang-format on
  for (const Row& row : rows) {
    const std::size_t bracket = row.identity.find('(');
    FontDescription font = window.font;
    if (row.bold) font.weight = 700;
    window.controls.push_back({static_cast<ControlId>(window.controls.size()),
                               row.identity.substr(0, bracket), row.identity[bracket + 1] - '0',
                               row.kind, row.insideFrame, row.bounds, row.text, row.english,
                               row.tabIndex, font, row.names});
  }
  return window;
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
  for (const ControlDescription& c : Form1Description().controls) {
    if (c.names == id) return c.id;
  }
  return std::nullopt;
}

std::string_view captionOf(ControlId id, Language language) {
  const ControlDescription& control = Form1Description().control(id);
  return language == Language::English && !control.english.empty() ? control.english : control.text;
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
