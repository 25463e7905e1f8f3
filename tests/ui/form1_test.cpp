#include "ui/form1.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "tests/ui/form_script.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvale::ui {
namespace {

using testing::FormScript;

const char* const kOverflowReport = "Korvale: Run-time error '6':\n\nOverflow";

TEST(Form1, StartUpRestoresWhatTheFileHolds) {
  const struct {
    const char* file;
    const char* shown;
    const char* handlers;
    std::size_t reports;
  } cases[] = {
      {nullptr, "20 | 5M | -1 | 31.83 | 31.83", "Form_Load TT", 0},
      {"\"\"\r\n\"5M\"\r\n", " | 5M | 1 | 0 | -1.14",
       "Form_Load Text2_Change TT Combo1_Click TT TT", 0},
      // Texts equal to the design values change nothing; the selection still clicks.
      {"\"20\"\r\n\"5M\"\r\n", "20 | 5M | 1 | 31.83 | 30.69", "Form_Load Combo1_Click TT TT", 0},
      {"\"25\"\r\n\"8M\"\r\n", "25 | 8M | 2 | 63.66 | 62.29",
       "Form_Load Text2_Change TT Combo1_Change TT Combo1_Click TT TT", 0},
      {"\"20\"\r\n\"5m\"\r\n", "20 | 5m | -1 | 31.83 | 31.83", "Form_Load Combo1_Change TT TT", 0},
      {"\"20\"\r\n\"6\"\r\n", "20 | 6 | -1 | 38.19 | 38.19", "Form_Load Combo1_Change TT TT", 0},
      {"\"30\"\r\n", "20 | 5M | -1 | 31.83 | 31.83", "Form_Load TT", 0},
      // An overflow in the restore abandons the rest of it (the pitch, the selection); start-up
      // still recomputes, and that overflow is reported with both results emptied.
      {"\"1E400\"\r\n\"8M\"\r\n", "1E400 | 5M | -1 |  | ", "Form_Load Text2_Change TT TT", 1},
      {"\"1E308\"\r\n\"14M\"\r\n", "1E308 | 14M | -1 |  | ",
       "Form_Load Text2_Change TT Combo1_Change TT TT", 1},
  };
  for (const auto& c : cases) {
    FormScript script;
    if (c.file) script.putStateFile(c.file);
    script.start();
    EXPECT_EQ(script.shown(), c.shown) << c.file;
    EXPECT_EQ(script.takeHandlers(), c.handlers) << c.file;
    EXPECT_EQ(script.frontEnd().reports.size(), c.reports) << c.file;
    EXPECT_EQ(script.frontEnd().topmostRequests, 1);
  }
}

TEST(Form1, EditsAndPicksRecomputeThroughTheirOwnHandlers) {
  FormScript script;
  script.start().takeHandlers();
  const struct {
    void (*act)(FormScript&);
    const char* shown;
    const char* handlers;
  } steps[] = {
      {[](FormScript& s) { s.typeTeeth("2"); }, "2 | 5M | -1 | 3.18 | 3.18", "Text2_Change TT"},
      {[](FormScript& s) { s.typeTeeth("23"); }, "23 | 5M | -1 | 36.6 | 36.6", "Text2_Change TT"},
      {[](FormScript& s) { s.pick(3); }, "23 | 14M | 3 | 102.49 | 99.69", "Combo1_Click TT"},
      {[](FormScript& s) { s.typeTeeth("20"); }, "20 | 14M | 3 | 89.12 | 86.32", "Text2_Change TT"},
      {[](FormScript& s) { s.pick(1); }, "20 | 5M | 1 | 31.83 | 30.69", "Combo1_Click TT"},
      // Typing the selected entry's own text deselects it without a Change.
      {[](FormScript& s) { s.typePitch("5M"); }, "20 | 5M | -1 | 31.83 | 30.69", ""},
      {[](FormScript& s) { s.typePitch("8"); }, "20 | 8 | -1 | 50.92 | 50.92", "Combo1_Change TT"},
      // A typed text equal to an entry selects nothing.
      {[](FormScript& s) { s.typePitch("8M"); }, "20 | 8M | -1 | 50.92 | 50.92",
       "Combo1_Change TT"},
      // Editing a result box runs nothing.
      {[](FormScript& s) { s.form().userEdited(ControlId::Text1_0, "9"); },
       "20 | 8M | -1 | 9 | 50.92", ""},
  };
  for (const auto& step : steps) {
    step.act(script);
    EXPECT_EQ(script.shown(), step.shown);
    EXPECT_EQ(script.takeHandlers(), step.handlers) << step.shown;
  }
}

TEST(Form1, AnOverflowIsReportedAndTheProgramGoesOnAndSaves) {
  FormScript script;
  script.start().pick(3).typeTeeth("1E308");
  EXPECT_EQ(script.frontEnd().reports, (std::vector<std::string>{kOverflowReport}));
  EXPECT_FALSE(script.frontEnd().ended);
  EXPECT_EQ(script.shown(), "1E308 | 14M | 3 |  | ");

  script.typeTeeth(std::string(400, '9'));
  EXPECT_EQ(script.frontEnd().reports.size(), 2u);
  script.typeTeeth("20");
  EXPECT_EQ(script.shown(), "20 | 14M | 3 | 89.12 | 86.32");

  script.typeTeeth("1E308").close();
  EXPECT_EQ(script.stateFileBytes(), "\"1E308\"\r\n\"14M\"\r\n");
  script.start();
  EXPECT_EQ(script.frontEnd().reports.size(), 1u) << "the restored inputs overflow again";
  script.typeTeeth("25").pick(2).close().start();
  EXPECT_EQ(script.shown(), "25 | 8M | 2 | 63.66 | 62.29");
}

TEST(Form1, AFailedSaveIsReportedOnceAndKeepsTheOldFile) {
#ifdef _WIN32
  const int accessDenied = ERROR_ACCESS_DENIED;
#else
  const int accessDenied = EACCES;
#endif
  FormScript script;
  script.putStateFile("\"25\"\r\n\"8M\"\r\n");
  script.failWritesWith({3, accessDenied});
  script.start().typeTeeth("30").close().close();
  ASSERT_EQ(script.frontEnd().reports.size(), 1u);
  EXPECT_EQ(script.frontEnd().reports[0].rfind("Korvale: Run-time error '70':\n\nCannot save", 0),
            0u)
      << script.frontEnd().reports[0];
  EXPECT_EQ(script.stateFileBytes(), "\"25\"\r\n\"8M\"\r\n");
}

TEST(WindowDescription, TabOrderAndScaling) {
  std::string order;
  for (const auto* control : Form1Description().tabOrder()) {
    order += std::string(control->name) + "(" + std::to_string(control->member) + ") ";
  }
  EXPECT_EQ(order, "Text2(0) Text1(0) Text1(1) Combo1(1) ");

  const int cases[][3] = {{3150, 96, 210}, {3375, 96, 225},  {3150, 144, 315}, {7, 96, 0},
                          {8, 96, 1},      {3375, 120, 281}, {-8, 96, -1}};
  for (const auto& c : cases) EXPECT_EQ(twipsToPixels(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
}

}  // namespace
}  // namespace korvale::ui
