#include "ui/drive/drive_form.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/ui/calculator/window_script.h"
#include "tests/ui/drive/drive_script.h"
#include "ui/drive/drive_words.h"

namespace korvale::ui {
namespace {

using korvale::testing::TemporaryDirectory;

class RecordingDriveFrontEnd : public DriveFrontEnd {
 public:
  void showErrorReport(const std::string&, const std::string& message) override {
    shown += "[" + message.substr(message.find("\n\n") + 2) + "]";
  }
  void copyToClipboard(const std::string& text) override { clipboard = text; }
  std::string shown;
  std::string clipboard;
};

// The form itself, through a front end that records what it is asked.
class FormDriver : public testing::DriveDriver, private DriveFrontEnd {
 public:
  void act(const testing::DriveStep& step) override {
    using A = testing::DriveAct;
    switch (step.act) {
      case A::Start:
        form_.emplace(static_cast<DriveFrontEnd&>(*this), DriveFile(directory.u8path()));
        form_->load();
        form_->windowShown();
        break;
      case A::Type:
        form_->userEdited(step.field, step.text);
        break;
      case A::Pick:
        form_->userPicked(step.field, std::stoi(step.text));
        break;
      case A::Adopt:
        form_->adoptStockBelt(std::stoul(step.text));
        break;
      case A::Click:
        break;  // the form hears of a row only when it is adopted
      case A::Paste:
        form_->userEdited(step.field, testing::pastedText(step));
        break;
      case A::Copy:
        form_->copy();
        break;
      case A::Close:
        form_->close();
        break;
    }
  }
  void takeDrivingPulley(const char* profile, const char* teeth) {
    form_->takeDrivingPulley(profile, teeth);
  }
  std::string text(DriveField field) override { return form_->text(field); }
  std::string shown() override {
    if (!form_->results()) return "error: " + form_->error();
    std::vector<std::vector<std::string>> rows;
    const auto& load = form_->loadResults();
    for (std::size_t r = 0; r < form_->results()->rows.size(); ++r) {
      const report::DriveTextRow& row = form_->results()->rows[r];
      rows.push_back({row.kind, row.centre, row.change, row.length, row.beltTeeth, row.wrap1,
                      row.wrap2, row.mesh1, row.mesh2});
      if (!load) continue;
      const report::LoadTextRow& l = load->rows[r];
      rows.back().insert(rows.back().end(), {l.width, l.rated, l.margin, l.tStatic, l.tTight,
                                             l.tSlack, l.frequency, l.hubStatic, l.hubRunning});
    }
    return testing::shownFrom(
        rows, form_->results()->warnings, form_->results()->unit,
        load ? loadLines(*load, Language::English).front() : form_->loadError());
  }

 private:
  void showErrorReport(const std::string&, const std::string& message) override {
    reports += "[" + message.substr(message.find("\n\n") + 2) + "]";
  }
  void copyToClipboard(const std::string& text) override { clipboard = text; }

  std::optional<DriveForm> form_;
};

TEST(DriveForm, PlaysTheDriveScenario) {
  FormDriver driver;
  testing::playDriveScenario(driver);
}

// Opened from the calculator, the drive takes its pulley as the driving one.
TEST(DriveForm, TakesTheCalculatorsPulleyAsTheDrivingOne) {
  FormDriver driver;
  driver.act({testing::DriveAct::Start, DriveField::Z1, "", nullptr});
  driver.takeDrivingPulley("5M", "20");
  EXPECT_EQ(driver.shown().substr(0, 29), "requested 600.00 307.79 9/60;");
}

// The Chinese window words its warnings in Chinese, with the same identifiers and rows.
TEST(DriveForm, WordsItsWarningsInTheWindowsLanguage) {
  const struct {
    DriveInputs drive;
    std::vector<std::string> chinese;
  } cases[] = {
      {{"T5", "9", "9", "centre", "14", "1", "mm", {}},
       {"警告 few_teeth_in_mesh：小带轮啮合齿数少于 6，负载下皮带可能跳齿",
        "警告 pulley_below_stock：有带轮少于 10 齿，即 T5 常备带轮的最少齿数（样本参考，非标准）",
        "警告 tips_touch（较短带）：在此中心距下两轮顶圆相接或重叠",
        "* offset_unconfirmed：Da 依据 T5 的 u = 0.425 mm，由厂商节圆与外径推算"}},
      {{"3M", "10", "30", "centre", "18", "1", "mm", {}},
       {"警告 few_teeth_in_mesh：小带轮啮合齿数少于 6，负载下皮带可能跳齿",
        "警告 tips_touch（所求、较短带）：在此中心距下两轮顶圆相接或重叠"}},
      {{"5M", "20", "40", "centre", "15.915495", "1", "mm", {}},
       {"警告 few_teeth_in_mesh：小带轮啮合齿数少于 6，负载下皮带可能跳齿",
        "警告 tips_touch：在此中心距下两轮顶圆相接或重叠",
        "警告 no_shorter_belt（所求）：没有更短的整齿带能装上这对带轮"}},
      {{"14M", "28", "112", "belt", "160", "1", "mm", {}},
       {"警告 makers_tip_differs：厂商表中 28 齿及以下的 14M 带轮外径大于 D - "
        "2u，请以厂商的外径为准"}},
  };
  for (const auto& c : cases) {
    korvale::testing::TemporaryDirectory directory;
    RecordingDriveFrontEnd frontEnd;
    DriveForm form(frontEnd, DriveFile(directory.u8path()), c.drive);
    form.load();
    ASSERT_TRUE(form.results()) << c.drive.profile;
    const BeltProfile& profile = *FindBeltProfile(c.drive.profile);
    EXPECT_EQ(driveWarnings(*form.results(), profile, Language::Chinese), c.chinese);
    EXPECT_EQ(driveWarnings(*form.results(), profile, Language::English), form.results()->warnings);
  }
}

// A file that stands there and holds something else: the window starts with the defaults, says so
// once it is up, and leaves the file as it is until the user changes something. A save at the
// close that finds no memory left is reported as such, and the file stays as it was.
TEST(DriveForm, LeavesAFileItCouldNotReadUntilTheUserChangesSomething) {
  const std::string notRead = "[Cannot restore \"%\": line 1 has no \"=\"]";
  const struct {
    std::string z1;      // typed before the close; empty: nothing
    std::size_t memory;  // the largest allocation the close may make; 0: no limit
    std::string reports;
    std::string fileStart;
  } cases[] = {{"", 0, notRead, "z1 30\n"},
               {"30", 0, notRead, "# Kor"},
               {std::string(1000, '7'), 1000, notRead + "[Out of memory]", "z1 30\n"}};
  for (const auto& c : cases) {
    TemporaryDirectory directory;
    directory.write("Drive.txt", "z1 30\n");
    RecordingDriveFrontEnd frontEnd;
    DriveForm form(frontEnd, DriveFile(directory.u8path()));
    form.load();
    EXPECT_EQ(frontEnd.shown, "") << "held until the window is up";
    form.windowShown();
    EXPECT_EQ(form.inputs(), DriveInputs());
    if (!c.z1.empty()) form.userEdited(DriveField::Z1, c.z1);
    testing::failAllocationsFrom = c.memory;
    form.close();
    testing::failAllocationsFrom = 0;
    std::string reports = c.reports;
    reports.replace(reports.find('%'), 1,
                    directory.u8path() + platform::pathSeparator() + "Drive.txt");
    EXPECT_EQ(frontEnd.shown, reports);
    EXPECT_EQ(directory.read("Drive.txt").substr(0, c.fileStart.size()), c.fileStart);
  }
}

}  // namespace
}  // namespace korvale::ui
