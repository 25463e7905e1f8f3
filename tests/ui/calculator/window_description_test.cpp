// The window as described, checked against the layout table written out by hand here (never read
// from the code): a typo in any position, size, caption, tab index, font, container or label shows.
#include "ui/calculator/window_description.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include <string>
#include <vector>

namespace korvale::ui {
namespace {

std::string identity(const ControlDescription& c) {
  return std::string(c.name) + "(" + std::to_string(c.member) + ")";
}

std::string row(const ControlDescription& c) {
  const char* kinds[] = {"label", "text box", "drop-down combo", "frame"};
  std::string line = identity(c) + " " + kinds[static_cast<int>(c.kind)] +
                     (c.insideFrame ? " in Frame1 " : " in window ") +
                     std::to_string(c.bounds.left) + "," + std::to_string(c.bounds.top) + " " +
                     std::to_string(c.bounds.width) + "x" + std::to_string(c.bounds.height) +
                     " \"" + std::string(c.text) + "\" tab " + std::to_string(c.tabIndex) +
                     (c.font.weight == 700 ? " bold" : "");
  if (!c.english.empty()) line += " English \"" + std::string(c.english) + "\"";
  if (c.names) line += " names " + identity(Form1Description().control(*c.names));
  return line;
}

TEST(WindowDescription, EveryControlAsTheLayoutTableHasIt) {
  // clang-format off
  const std::vector<std::string> expected = {
      "Combo1(1) drop-down combo in window 1080,840 975x330 \"5M\" tab 8",
      "Frame1(0) frame in window 120,1320 2895x1815 \"结果\" tab 2 English \"Results\"",
      "Text1(1) text box in Frame1 1560,360 975x375 \"Text1\" tab 6",
      "Text1(0) text box in Frame1 1560,1080 975x375 \"Text1\" tab 4",
      "Label1(4) label in Frame1 240,480 1695x255 \"顶圆直径Da:\" tab 5 bold English \"Outer Da\" names Text1(1)",
      "Label1(3) label in Frame1 240,1200 1455x255 \"节圆直径 D:\" tab 3 bold English \"Pitch D\" names Text1(0)",
      "Text2(0) text box in window 1080,240 855x315 \"20\" tab 1",
      "Label1(0) label in window 360,240 1215x255 \"齿数T:\" tab 7 bold English \"Teeth\" names Text2(0)",
      "Label1(1) label in window 360,840 855x255 \"模数M:\" tab 0 bold English \"Pitch\" names Combo1(1)",
  };
  // clang-format on
  const WindowDescription& window = Form1Description();
  std::vector<std::string> actual;
  for (const ControlDescription& c : window.controls) {
    actual.push_back(row(c));
    EXPECT_EQ(c.id, static_cast<ControlId>(actual.size() - 1)) << "in the order of ControlId";
    EXPECT_EQ(c.font.faceName, "宋体");
    EXPECT_EQ(c.font.pointSize, 10.5);
    EXPECT_EQ(c.font.characterSet, 134);
  }
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(window.caption, "Korvale");
  EXPECT_EQ(window.clientWidthTwips, 3150);
  EXPECT_EQ(window.clientHeightTwips, 3375);
  EXPECT_EQ(window.pitchListEntries, (std::vector<std::string_view>{"3M", "5M", "8M", "14M"}));
}

// Chinese where the desktop speaks it or says nothing; English for every other language. The names
// a screen reader announces, in each.
TEST(WindowDescription, SpeaksChineseOrEnglishAsTheDesktopDoes) {
  // clang-format off
  const std::pair<const char*, Language> desktops[] = {
      {"zh-CN", Language::Chinese}, {"zh-TW", Language::Chinese}, {"zh", Language::Chinese},
      {"zh_CN.UTF-8", Language::Chinese}, {"", Language::Chinese}, {"C", Language::Chinese},
      {"C.UTF-8", Language::Chinese}, {"POSIX", Language::Chinese}, {"en-US", Language::English},
      {"de-DE", Language::English}, {"ja-JP", Language::English}, {"zu-ZA", Language::English}};
  const struct { ControlId id; const char* chinese; const char* english; } named[] = {
      {ControlId::Text2_0, "齿数T", "Teeth"}, {ControlId::Combo1_1, "模数M", "Pitch"},
      {ControlId::Text1_1, "顶圆直径Da", "Outer Da"}, {ControlId::Text1_0, "节圆直径 D", "Pitch D"},
      {ControlId::Label1_0, "", ""}, {ControlId::Frame1, "", ""}};
  // clang-format on
  for (const auto& [tag, language] : desktops) EXPECT_EQ(languageForDesktop(tag), language) << tag;
  for (const auto& c : named) {
    EXPECT_EQ(accessibleName(c.id, Language::Chinese), c.chinese);
    EXPECT_EQ(accessibleName(c.id, Language::English), c.english);
  }
  EXPECT_EQ(captionOf(ControlId::Frame1, Language::English), "Results");
  EXPECT_EQ(captionOf(ControlId::Text2_0, Language::English), "20") << "no English of its own";
}

TEST(WindowDescription, TabOrderAndScaling) {
  std::string order;
  for (const auto* control : Form1Description().tabOrder()) {
    order += std::string(control->name) + "(" + std::to_string(control->member) + ") ";
  }
  EXPECT_EQ(order, "Text2(0) Text1(0) Text1(1) Combo1(1) ");

  const int cases[][3] = {{3150, 96, 210}, {3375, 96, 225},  {3150, 144, 315}, {7, 96, 0},
                          {8, 96, 1},      {3375, 120, 281}, {-8, 96, -1},     {855, 144, 86}};
  for (const auto& c : cases) EXPECT_EQ(twipsToPixels(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
  // Halves round away from zero, as lround does.
  std::mt19937 random(7);
  for (int i = 0; i < 100000; ++i) {
    const int twips = std::uniform_int_distribution(-100000, 100000)(random);
    const int dpi = std::uniform_int_distribution(48, 480)(random);
    ASSERT_EQ(twipsToPixels(twips, dpi), std::lround(twips * static_cast<double>(dpi) / 1440))
        << twips << " at " << dpi;
  }
}

}  // namespace
}  // namespace korvale::ui
