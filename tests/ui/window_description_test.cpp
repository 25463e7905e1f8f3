// The window as described, checked against the layout table written out by hand here (never read
// from the code): a typo in any position, size, caption, tab index, font or container shows.
#include "ui/window_description.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include <string>
#include <vector>

namespace korvale::ui {
namespace {

std::string row(const ControlDescription& c) {
  const char* kinds[] = {"label", "text box", "drop-down combo", "frame"};
  return std::string(c.name) + "(" + std::to_string(c.member) + ") " +
         kinds[static_cast<int>(c.kind)] + (c.insideFrame ? " in Frame1 " : " in window ") +
         std::to_string(c.bounds.left) + "," + std::to_string(c.bounds.top) + " " +
         std::to_string(c.bounds.width) + "x" + std::to_string(c.bounds.height) + " \"" +
         std::string(c.text) + "\" tab " + std::to_string(c.tabIndex) + " " +
         std::string(c.font.faceName) + " " + std::to_string(c.font.pointSize).substr(0, 4) +
         "pt charset " + std::to_string(c.font.characterSet) + " weight " +
         std::to_string(c.font.weight);
}

TEST(WindowDescription, EveryControlAsTheLayoutTableHasIt) {
  // clang-format off
  const std::vector<std::string> expected = {
      "Combo1(1) drop-down combo in window 1080,840 975x330 \"5M\" tab 8 宋体 10.5pt charset 134 weight 400",
      "Frame1(0) frame in window 120,1320 2895x1815 \"结果\" tab 2 宋体 10.5pt charset 134 weight 400",
      "Text1(1) text box in Frame1 1560,360 975x375 \"Text1\" tab 6 宋体 10.5pt charset 134 weight 400",
      "Text1(0) text box in Frame1 1560,1080 975x375 \"Text1\" tab 4 宋体 10.5pt charset 134 weight 400",
      "Label1(4) label in Frame1 240,480 1695x255 \"顶圆直径Da:\" tab 5 宋体 10.5pt charset 134 weight 700",
      "Label1(3) label in Frame1 240,1200 1455x255 \"节圆直径 D:\" tab 3 宋体 10.5pt charset 134 weight 700",
      "Text2(0) text box in window 1080,240 855x315 \"20\" tab 1 宋体 10.5pt charset 134 weight 400",
      "Label1(0) label in window 360,240 1215x255 \"齿数T:\" tab 7 宋体 10.5pt charset 134 weight 700",
      "Label1(1) label in window 360,840 855x255 \"模数M:\" tab 0 宋体 10.5pt charset 134 weight 700",
  };
  // clang-format on
  const WindowDescription& window = Form1Description();
  std::vector<std::string> actual;
  for (const ControlDescription& c : window.controls) actual.push_back(row(c));
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(window.caption, "Korvale");
  EXPECT_EQ(window.clientWidthTwips, 3150);
  EXPECT_EQ(window.clientHeightTwips, 3375);
  EXPECT_EQ(window.pitchListEntries, (std::vector<std::string_view>{"3M", "5M", "8M", "14M"}));
}

// Chinese where the desktop speaks it or says nothing; English for every other language. The
// captions, and the names a screen reader announces, in each.
TEST(WindowDescription, SpeaksChineseOrEnglishAsTheDesktopDoes) {
  // clang-format off
  const std::pair<const char*, Language> desktops[] = {
      {"zh-CN", Language::Chinese}, {"zh-TW", Language::Chinese}, {"zh", Language::Chinese},
      {"zh_CN.UTF-8", Language::Chinese}, {"", Language::Chinese}, {"C", Language::Chinese},
      {"C.UTF-8", Language::Chinese}, {"POSIX", Language::Chinese}, {"en-US", Language::English},
      {"de-DE", Language::English}, {"ja-JP", Language::English}, {"zu-ZA", Language::English}};
  const struct { ControlId id; const char* chinese; const char* english; const char* chineseName; const char* englishName; } controls[] = {
      {ControlId::Label1_0, "齿数T:", "Teeth", "", ""},
      {ControlId::Label1_1, "模数M:", "Pitch", "", ""},
      {ControlId::Frame1, "结果", "Results", "", ""},
      {ControlId::Label1_4, "顶圆直径Da:", "Outer Da", "", ""},
      {ControlId::Label1_3, "节圆直径 D:", "Pitch D", "", ""},
      {ControlId::Text2_0, "20", "20", "齿数T", "Teeth"},
      {ControlId::Combo1_1, "5M", "5M", "模数M", "Pitch"},
      {ControlId::Text1_1, "Text1", "Text1", "顶圆直径Da", "Outer Da"},
      {ControlId::Text1_0, "Text1", "Text1", "节圆直径 D", "Pitch D"}};
  // clang-format on
  for (const auto& [tag, language] : desktops) EXPECT_EQ(languageForDesktop(tag), language) << tag;
  for (const auto& c : controls) {
    EXPECT_EQ(captionOf(c.id, Language::Chinese), c.chinese);
    EXPECT_EQ(captionOf(c.id, Language::English), c.english);
    EXPECT_EQ(accessibleName(c.id, Language::Chinese), c.chineseName);
    EXPECT_EQ(accessibleName(c.id, Language::English), c.englishName);
  }
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
