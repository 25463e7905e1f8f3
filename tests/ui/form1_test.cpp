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
using Handlers = std::vector<std::string>;

const char* const kOverflowReport = "Korvale: Run-time error '6':\n\nOverflow";

TEST(Form1, FirstRunShowsTheDesignInputsAndSavesThemAtClose) {
  FormScript script;
  script.start();
  EXPECT_EQ(script.teeth(), "20");
  EXPECT_EQ(script.pitch(), "5M");
  EXPECT_EQ(script.selected(), -1);
  EXPECT_EQ(script.d(), "31.83");
  EXPECT_EQ(script.da(), "31.83");
  EXPECT_EQ(script.frontEnd().topmostRequests, 1);
  EXPECT_EQ(script.handlers(), (Handlers{"Form_Load", "TT"}));

  script.close();
  EXPECT_EQ(script.stateFileBytes(), "\"20\"\r\n\"5M\"\r\n");
  EXPECT_TRUE(script.frontEnd().reports.empty());
}

TEST(Form1, StartUpRestoresWhatTheFileHolds) {
  const struct {
    const char* file;
    const char* teeth;
    const char* pitch;
    int selected;
    const char* d;
    const char* da;
    bool overflowReported;
  } cases[] = {
      {"\"20\"\r\n\"5M\"\r\n", "20", "5M", 1, "31.83", "30.69", false},
      {"\"25\"\r\n\"8M\"\r\n", "25", "8M", 2, "63.66", "62.29", false},
      {"\"20\"\r\n\"14M\"\r\n", "20", "14M", 3, "89.12", "86.32", false},
      {"\"20\"\r\n\"5m\"\r\n", "20", "5m", -1, "31.83", "31.83", false},
      {"\"20\"\r\n\"6\"\r\n", "20", "6", -1, "38.19", "38.19", false},
      {"\"20\"\r\n", "20", "5M", -1, "31.83", "31.83", false},
      {"", "20", "5M", -1, "31.83", "31.83", false},
      // The pitch's recompute overflows: the selection is never made, and the final recompute
      // overflows again, reported with both results emptied.
      {"\"1E308\"\r\n\"14M\"\r\n", "1E308", "14M", -1, "", "", true},
      // The teeth's recompute overflows: the pitch keeps its design value.
      {"\"1E400\"\r\n\"8M\"\r\n", "1E400", "5M", -1, "", "", true},
  };
  for (const auto& c : cases) {
    FormScript script;
    script.putStateFile(c.file);
    script.start();
    SCOPED_TRACE(c.file);
    EXPECT_EQ(script.teeth(), c.teeth);
    EXPECT_EQ(script.pitch(), c.pitch);
    EXPECT_EQ(script.selected(), c.selected);
    EXPECT_EQ(script.d(), c.d);
    EXPECT_EQ(script.da(), c.da);
    EXPECT_EQ(script.frontEnd().reports.size(), c.overflowReported ? 1u : 0u);
    EXPECT_FALSE(script.frontEnd().ended);
  }
}

TEST(Form1, TheRestoreRecomputesOnEveryInputItSets) {
  const struct {
    const char* file;
    Handlers handlers;
  } cases[] = {
      {"\"23\"\r\n\"8M\"\r\n",
       {"Form_Load", "Text2_Change", "TT", "Combo1_Change", "TT", "Combo1_Click", "TT", "TT"}},
      // Texts equal to the design values change nothing; the selection still clicks.
      {"\"20\"\r\n\"5M\"\r\n", {"Form_Load", "Combo1_Click", "TT", "TT"}},
      {"\"20\"\r\n\"5m\"\r\n", {"Form_Load", "Combo1_Change", "TT", "TT"}},
      // The first overflow abandons the rest of the restore.
      {"\"1E400\"\r\n\"8M\"\r\n", {"Form_Load", "Text2_Change", "TT", "TT"}},
  };
  for (const auto& c : cases) {
    FormScript script;
    script.putStateFile(c.file);
    script.start();
    EXPECT_EQ(script.handlers(), c.handlers) << c.file;
  }
}

TEST(Form1, EveryEditRecomputesBothResults) {
  FormScript script;
  script.start();

  const struct {
    const char* teeth;
    const char* d;
  } keystrokes[] = {{"", "0"}, {"2", "3.18"}, {"23", "36.6"}, {"23.", "36.6"}, {"23.5", "37.4"}};
  for (const auto& k : keystrokes) {
    script.typeTeeth(k.teeth);
    EXPECT_EQ(script.d(), k.d) << k.teeth;
    EXPECT_EQ(script.da(), k.d) << "no entry selected: Da equals D";
  }

  script.typeTeeth("20").pick(3);
  EXPECT_EQ(script.pitch(), "14M");
  EXPECT_EQ(script.selected(), 3);
  EXPECT_EQ(script.d(), "89.12");
  EXPECT_EQ(script.da(), "86.32");

  script.pick(1).typePitch("8").typePitch("8M");
  EXPECT_EQ(script.selected(), -1) << "a typed text that equals an entry selects nothing";
  EXPECT_EQ(script.d(), "50.92");
  EXPECT_EQ(script.da(), "50.92");
}

TEST(Form1, APickClicksAndATypedTextChanges) {
  FormScript script;
  script.start();
  const std::size_t before = script.handlers().size();
  script.pick(0);
  script.typePitch("3M");  // the same text: no Change, but the entry is no longer selected
  script.typePitch("3M6");
  script.form().userEdited(ControlId::Text1_0, "edited result");  // result boxes run nothing
  const Handlers after(script.handlers().begin() + static_cast<long>(before),
                       script.handlers().end());
  EXPECT_EQ(after, (Handlers{"Combo1_Click", "TT", "Combo1_Change", "TT"}));
  EXPECT_EQ(script.selected(), -1);
}

TEST(Form1, AnOverflowIsReportedAndTheProgramGoesOn) {
  FormScript script;
  script.start();
  script.pick(3).typeTeeth("1E308");
  EXPECT_EQ(script.frontEnd().reports, (std::vector<std::string>{kOverflowReport}));
  EXPECT_FALSE(script.frontEnd().ended);
  EXPECT_EQ(script.d(), "");
  EXPECT_EQ(script.da(), "");

  script.typeTeeth(std::string(400, '9'));
  EXPECT_EQ(script.frontEnd().reports.size(), 2u);

  script.typeTeeth("20");
  EXPECT_EQ(script.d(), "89.12");
  EXPECT_EQ(script.da(), "86.32");

  script.typeTeeth("1E308").close();
  EXPECT_EQ(script.stateFileBytes(), "\"1E308\"\r\n\"14M\"\r\n") << "the inputs are saved as typed";
}

TEST(Form1, AFailedSaveIsReportedAndTheWindowStillCloses) {
#ifdef _WIN32
  const int accessDenied = ERROR_ACCESS_DENIED;
#else
  const int accessDenied = EACCES;
#endif
  FormScript script;
  script.putStateFile("\"25\"\r\n\"8M\"\r\n");
  script.failWritesWith({3, accessDenied});
  script.start().typeTeeth("30").close();
  ASSERT_EQ(script.frontEnd().reports.size(), 1u);
  EXPECT_EQ(script.frontEnd().reports[0].rfind("Korvale: Run-time error '70':\n\nCannot save", 0),
            0u)
      << script.frontEnd().reports[0];
  EXPECT_EQ(script.stateFileBytes(), "\"25\"\r\n\"8M\"\r\n");

  script.close();
  EXPECT_EQ(script.frontEnd().reports.size(), 1u) << "a window closes once";
}

TEST(Form1, ASecondRunContinuesWhereTheFirstEnded) {
  FormScript script;
  script.start().typeTeeth("25").pick(2).close();
  script.start();
  EXPECT_EQ(script.teeth(), "25");
  EXPECT_EQ(script.selected(), 2);
  EXPECT_EQ(script.d(), "63.66");
  EXPECT_EQ(script.da(), "62.29");
}

TEST(WindowDescription, TabOrderAndScaling) {
  std::vector<std::string> order;
  for (const auto* control : Form1Description().tabOrder()) {
    order.push_back(std::string(control->name) + "(" + std::to_string(control->member) + ")");
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Text2(0)", "Text1(0)", "Text1(1)", "Combo1(1)"}));

  const struct {
    int twips;
    int dpi;
    int pixels;
  } cases[] = {{3150, 96, 210}, {3375, 96, 225}, {3150, 144, 315}, {1695, 96, 113},
               {7, 96, 0},      {8, 96, 1},      {3375, 120, 281}, {-8, 96, -1}};
  for (const auto& c : cases) EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips;
}

}  // namespace
}  // namespace korvale::ui
