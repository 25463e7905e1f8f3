#include "ui/drive_form.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/temporary_directory.h"

namespace korvale::ui {
namespace {

using testing::TemporaryDirectory;

class RecordingDriveFrontEnd : public DriveFrontEnd {
 public:
  void showErrorReport(const std::string&, const std::string& message) override {
    shown += "[" + message.substr(message.find("\n\n") + 2) + "]";
  }
  void copyToClipboard(const std::string& text) override { clipboard = text; }
  std::string shown;
  std::string clipboard;
};

// What the window shows: each row's case, C, change, belt teeth and mesh, then the warnings' first
// words, or the error.
std::string shown(const DriveForm& form) {
  if (!form.results()) return "error: " + form.error();
  std::string text;
  for (const calc::DriveTextRow& row : form.results()->rows) {
    text += row.kind + " " + row.centre + (row.change.empty() ? "" : " " + row.change) + " " +
            row.beltTeeth + " " + row.mesh1 + "/" + row.mesh2 + "; ";
  }
  for (const std::string& warning : form.results()->warnings) {
    const std::string id = warning.substr(warning.rfind("warning: ", 0) == 0 ? 9 : 2);
    text += id.substr(0, id.find(':')) + "; ";
  }
  return text + form.results()->unit;
}

// One table of what the user does and what the window then shows, from a first start without a
// file through a close and a second start that finds the inputs again.
TEST(DriveForm, AnswersEveryStepAndKeepsItsInputs) {
  enum class Act { Start, Type, Pick, Adopt, Copy, Close };
  struct Step {
    Act act;
    DriveField field;
    const char* text;  // typed; the picked or adopted index as a number
    const char* expected;
  };
  using F = DriveField;
  // clang-format off
  const Step steps[] = {
      {Act::Start, F::Z1, "", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; mm"},
      {Act::Type, F::Z1, "2", "requested 600.00 149.97 0/71; shorter 592.55 -7.45 149 0/71; longer 600.22 +0.22 150 0/70; few_teeth_in_mesh; pulley_below_stock; mm"},
      {Act::Type, F::Z1, "", "error: Z1 \"\": expected a whole number from 1 to 1000000000"},
      {Act::Type, F::Z1, "28", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; mm"},
      {Act::Type, F::Value, "180", "error: centre distance 180.00 mm is too small for these pulleys: it must be more than 187.17 mm, half the difference of their pitch diameters"},
      {Act::Type, F::Value, "600", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; mm"},
      {Act::Adopt, F::Value, "2", "belt 600.59 160 11/67; mm"},
      {Act::Pick, F::Units, "1", "belt 23.645 160 11/67; in"},
      {Act::Pick, F::Given, "0", "requested 23.645 160.00 11/67; shorter 23.355 -0.290 159 11/67; longer 23.645 +0.000 160 11/67; in"},
      {Act::Type, F::Value, "23.622", "requested 23.622 159.92 11/67; shorter 23.355 -0.267 159 11/67; longer 23.645 +0.023 160 11/67; in"},
      {Act::Pick, F::Profile, "9", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm"},
      {Act::Copy, F::Value, "", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm"},
      {Act::Close, F::Value, "", ""},
      {Act::Start, F::Value, "", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm"},
  };
  // clang-format on
  TemporaryDirectory directory;
  RecordingDriveFrontEnd frontEnd;
  std::optional<DriveForm> form;
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.text) + " -> " + step.expected);
    switch (step.act) {
      case Act::Start:
        form.emplace(frontEnd, DriveFile(directory.u8path()));
        form->load();
        form->windowShown();
        break;
      case Act::Type:
        form->userEdited(step.field, step.text);
        break;
      case Act::Pick:
        form->userPicked(step.field, std::stoi(step.text));
        break;
      case Act::Adopt:
        form->adoptStockBelt(std::stoul(step.text));
        break;
      case Act::Copy:
        form->copy();
        break;
      case Act::Close:
        form->close();
        continue;
    }
    EXPECT_EQ(shown(*form), step.expected);
  }
  EXPECT_EQ(frontEnd.shown, "");
  EXPECT_EQ(
      frontEnd.clipboard.substr(0, frontEnd.clipboard.find('\n')),
      "case\tprofile\tz1\tz2\tD1\tD2\tDa1\tDa2\tC\tL\tbelt_teeth\tratio\twrap1\twrap2\tmesh1\t"
      "mesh2\twarnings");
  EXPECT_EQ(std::count(frontEnd.clipboard.begin(), frontEnd.clipboard.end(), '\n'), 4);
  EXPECT_EQ(directory.read("Drive.txt"),
            "# Korvale belt drive\nprofile=T5\nz1=28\nz2=112\ngiven=centre\nvalue=600\n"
            "increment=1\nunits=mm\n");
}

// A file that stands there and holds something else: the window starts with the defaults, says so
// once it is up, and leaves the file as it is until the user changes something.
TEST(DriveForm, LeavesAFileItCouldNotReadUntilTheUserChangesSomething) {
  for (const bool changed : {false, true}) {
    TemporaryDirectory directory;
    directory.write("Drive.txt", "z1 30\n");
    RecordingDriveFrontEnd frontEnd;
    DriveForm form(frontEnd, DriveFile(directory.u8path()));
    form.load();
    EXPECT_EQ(frontEnd.shown, "") << "held until the window is up";
    form.windowShown();
    EXPECT_EQ(frontEnd.shown, "[Cannot restore \"" + directory.u8path() +
                                  std::string(1, platform::pathSeparator()) +
                                  "Drive.txt\": line 1 has no \"=\"]");
    EXPECT_EQ(form.inputs(), DriveInputs());
    if (changed) form.userEdited(DriveField::Z1, "30");
    form.close();
    EXPECT_EQ(directory.read("Drive.txt").substr(0, changed ? 5 : 6),
              changed ? "# Kor" : "z1 30\n");
  }
}

}  // namespace
}  // namespace korvale::ui
