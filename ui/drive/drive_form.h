#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime_error.h"
#include "report/drive_text.h"
#include "report/input_rules.h"
#include "report/load_text.h"
#include "state/drive_file.h"
#include "ui/drive/drive_drawing.h"

namespace korvale::ui {

// What the drive form needs from the toolkit that shows it.
class DriveFrontEnd {
 public:
  virtual ~DriveFrontEnd() = default;
  // A modal message box: only for a file that could not be restored or saved, never while typing.
  virtual void showErrorReport(const std::string& title, const std::string& message) = 0;
  virtual void copyToClipboard(const std::string& text) = 0;
};

// The drive window's inputs, in reading order.
enum class DriveField {
  Profile,
  Z1,
  Z2,
  Given,
  Value,
  Increment,
  Units,
  // The load's:
  Power,
  Torque,
  Rpm,
  ServiceFactor,
  Width,
  RatedPower,
};

// The belt-drive window without its toolkit: its inputs, the results as korvale-calc's text
// output words and rounds them, the drawing, copying, and the file the inputs are kept in. A
// front end reports what the user did and then shows inputs(), results() and drawing() again.
class DriveForm {
 public:
  // `handedOver`: inputs from the command line, which take the place of the file's.
  DriveForm(DriveFrontEnd& frontEnd, DriveFile file, std::optional<DriveInputs> handedOver = {});

  void load();         // before the window is shown: the inputs restored and the results computed
  void windowShown();  // a report held back during start-up goes up now
  // Z1, Z2, Value, Increment and the load's boxes; a text longer than a box keeps is cut to
  // kLongestDriveText characters, which the box then shows.
  void userEdited(DriveField field, std::string_view text);
  // Profile, Given, Units. A change of what is given carries the drive shown over (the centre,
  // the length, or the belt's teeth rounded to whole ones); a change of units re-expresses the
  // value; an inch-pitch profile brings inches, a metric one millimetres.
  void userPicked(DriveField field, int index);
  // The calculator's pulley becomes the driving one: its profile (a catalogue name) and teeth.
  void takeDrivingPulley(std::string_view profile, std::string_view teeth);
  // A stock belt of the results (by its row) becomes the given belt.
  void adoptStockBelt(std::size_t row);
  void copy();   // the results as korvale-calc's TSV, onto the clipboard
  void close();  // saves the inputs; a failure is reported and the window closes all the same
  // The program is ending without a close: saves, and returns the report's text on failure.
  std::string saveAtExit() noexcept;

  const DriveInputs& inputs() const { return inputs_; }
  // The text of a box (Z1, Z2, Value, Increment, the load's), as typed; the lists' fields give an
  // empty one.
  const std::string& text(DriveField field) const;
  static constexpr DriveField kTextFields[] = {
      DriveField::Z1,    DriveField::Z2,        DriveField::Value, DriveField::Increment,
      DriveField::Power, DriveField::Torque,    DriveField::Rpm,   DriveField::ServiceFactor,
      DriveField::Width, DriveField::RatedPower};
  static constexpr DriveField kLoadFields[] = {DriveField::Power, DriveField::Torque,
                                               DriveField::Rpm,   DriveField::ServiceFactor,
                                               DriveField::Width, DriveField::RatedPower};
  // The results, or nothing with the reason in error().
  const std::optional<report::DriveText>& results() const { return results_; }
  const std::string& error() const { return error_; }
  const std::vector<DriveShape>& drawing() const { return drawing_; }
  // The load's figures, where a load is given and the drive stands; or nothing, with the reason
  // the load's texts cannot be read in loadError() (empty when no load is given).
  const std::optional<report::LoadText>& loadResults() const { return loadText_; }
  const std::string& loadError() const { return loadError_; }
  std::string copyText() const;

  // The choices of the lists, in order: "3M (3 mm)" ..., "centre" "belt" "length", "mm" "in".
  static std::vector<std::string> profileEntries();
  int selectedIndex(DriveField field) const;

 private:
  void recompute();
  void save();
  void valueGiven();

  DriveFrontEnd& frontEnd_;
  DriveFile file_;
  std::optional<DriveInputs> handedOver_;
  DriveInputs inputs_;
  // The value as the user last gave it and in which units: a change of units re-expresses this,
  // never a text already rounded, so that going back gives exactly what was typed.
  std::string valueGiven_;
  std::string unitsGiven_;
  bool mayWrite_ = true;  // false while the inputs stand in for a file that could not be read
  bool closed_ = false;
  bool shown_ = false;
  std::vector<std::string> heldReports_;
  std::optional<report::DriveOrder> order_;
  DriveSolution solution_;  // of order_, when it holds one
  std::optional<report::DriveText> results_;
  std::string error_;
  std::vector<DriveShape> drawing_;
  std::optional<LoadSolution> load_;  // of solution_, when a load is given and can be read
  std::optional<report::LoadText> loadText_;
  std::string loadError_;
};

}  // namespace korvale::ui
