#pragma once

// What a person does in the belt-drive window and what it must then show, written once and played
// by each driver: the form's own (recording front end), Qt's through real widgets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/decimal_comma_locale.h"
#include "tests/support/temporary_directory.h"
#include "ui/drive/drive_form.h"

namespace korvale::ui::testing {

enum class DriveAct {
  Start,  // a new window over the same folder
  Type,   // the box's text replaced by `text`, as typed
  Pick,   // entry `text` (a number) chosen from the list
  Adopt,  // result row `text` (a number) used as the given belt, with Enter
  Click,  // result row `text` (a number) clicked once, which only selects it
  Paste,  // the box's text replaced by `text` repeated to 100,000 characters, pasted
  Copy,   // Ctrl+C
  Close,  // the window's close button
};

struct DriveStep {
  DriveAct act;
  DriveField field;
  const char* text;
  // Each row's case, C, change, belt teeth and mesh, the warnings' identifiers and the units; or
  // "error: " and the error. Unchecked after a Close.
  const char* shown;
};

// The front end under test, as a person uses it.
class DriveDriver {
 public:
  virtual ~DriveDriver() = default;
  virtual void act(const DriveStep& step) = 0;
  virtual std::string shown() = 0;
  virtual std::string text(DriveField field) = 0;  // what a box shows

  korvale::testing::TemporaryDirectory directory;
  std::string reports;    // "[Cannot restore ...]" for each report raised
  std::string clipboard;  // the text copied last
};

// The warning lines' identifiers: "warning: few_teeth_in_mesh (shorter): fewer ..." ->
// "few_teeth_in_mesh (shorter)", "* offset_unconfirmed: Da rests ..." -> "offset_unconfirmed".
inline std::string warningId(const std::string& line) {
  const std::string rest = line.substr(line.rfind("warning: ", 0) == 0 ? 9 : 2);
  return rest.substr(0, rest.find(':'));
}

// What a window shows as the scenario writes it, from the rows' nine cells each (case, C, change,
// L, belt teeth, wraps, meshes), the notes' lines and the unit: "requested 600.00 159.92 11/67;
// shorter 593.22 -6.78 159 11/67; few_teeth_in_mesh; mm".
// With a load, then " | load " and the first row's load cells as far as they hold a figure (width,
// rated kW, margin, Tst, tight, slack, f, hub static, hub running) and " | " the load's first
// line (or why the load cannot be read).
inline std::string shownFrom(const std::vector<std::vector<std::string>>& rows,
                             const std::vector<std::string>& notes, const std::string& unit,
                             const std::string& loadLine = "") {
  std::string text;
  for (const std::vector<std::string>& cells : rows) {
    text += cells[0] + " " + cells[1] + (cells[2].empty() ? "" : " " + cells[2]) + " " + cells[4] +
            " " + cells[7] + "/" + cells[8] + "; ";
  }
  for (const std::string& line : notes) {
    if (!line.empty()) text += warningId(line) + "; ";
  }
  text += unit;
  if (loadLine.empty()) return text;
  text += " | load";
  for (std::size_t c = 9; !rows.empty() && c < rows.front().size(); ++c) {
    if (!rows.front()[c].empty()) text += " " + rows.front()[c];
  }
  return text + " | " + loadLine;
}

// The text a Paste step puts in the box.
inline std::string pastedText(const DriveStep& step) {
  std::string text;
  while (text.size() < 100000) text += step.text;
  return text;
}

// From a first start without a file through typing, picking, switching what is given and the
// units there and back, clicking and adopting a stock belt, warnings coming and going, a paste
// longer than a box keeps, a copy and a close, to a second start that finds the inputs again; then
// a load typed in step by step through its refusals (no speed, a width not stocked, both power and
// torque), a profile with no public rating and one with, kept for the next start. All of it where
// the C library's locale has a decimal comma, as a German desktop's has.
inline void playDriveScenario(DriveDriver& driver) {
  const korvale::testing::DecimalCommaLocale decimalComma;
  ASSERT_TRUE(decimalComma.active()) << "no locale with a decimal comma on this system";
  using A = DriveAct;
  using F = DriveField;
  // clang-format off
  const DriveStep steps[] = {
      {A::Start, F::Z1, "", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; makers_tip_differs; mm"},
      {A::Type, F::Z1, "2", "requested 600.00 149.97 0/71; shorter 592.55 -7.45 149 0/71; longer 600.22 +0.22 150 0/70; few_teeth_in_mesh; pulley_below_stock; makers_tip_differs; mm"},
      {A::Type, F::Z1, "", "error: Z1 \"\": expected a whole number from 1 to 1000000000"},
      {A::Type, F::Z1, "28", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; makers_tip_differs; mm"},
      {A::Type, F::Value, "180", "error: centre distance 180.00 mm is too small for these pulleys: it must be more than 187.17 mm, half the difference of their pitch diameters"},
      {A::Type, F::Value, "600", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; makers_tip_differs; mm"},
      {A::Type, F::Value, "60000", "requested 60000.00 8641.47 13/56; shorter 59996.71 -3.29 8641 13/56; longer 60003.71 +3.71 8642 13/56; makers_tip_differs; mm"},
      {A::Type, F::Value, "600", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; makers_tip_differs; mm"},
      {A::Pick, F::Given, "1", "belt 600.59 160 11/67; makers_tip_differs; mm"},
      {A::Pick, F::Given, "0", "requested 600.59 160.00 11/67; shorter 593.22 -7.37 159 11/67; longer 600.59 +0.00 160 11/67; makers_tip_differs; mm"},
      {A::Type, F::Value, "600", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; makers_tip_differs; mm"},
      {A::Type, F::Value, "593.2211587565", "requested 593.22 159.00 11/67; exact 593.22 +0.00 159 11/67; makers_tip_differs; mm"},
      {A::Adopt, F::Value, "1", "belt 593.22 159 11/67; makers_tip_differs; mm"},
      {A::Pick, F::Given, "0", "requested 593.22 159.00 11/67; shorter 585.84 -7.38 158 11/67; longer 593.22 +0.00 159 11/67; makers_tip_differs; mm"},
      {A::Type, F::Value, "600", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; makers_tip_differs; mm"},
      {A::Click, F::Value, "1", "requested 600.00 159.92 11/67; shorter 593.22 -6.78 159 11/67; longer 600.59 +0.59 160 11/67; makers_tip_differs; mm"},
      {A::Adopt, F::Value, "2", "belt 600.59 160 11/67; makers_tip_differs; mm"},
      {A::Pick, F::Units, "1", "belt 23.645 160 11/67; makers_tip_differs; in"},
      {A::Pick, F::Given, "0", "requested 23.645 160.00 11/67; shorter 23.355 -0.290 159 11/67; longer 23.645 +0.000 160 11/67; makers_tip_differs; in"},
      {A::Type, F::Value, "23.622", "requested 23.622 159.92 11/67; shorter 23.355 -0.267 159 11/67; longer 23.645 +0.023 160 11/67; makers_tip_differs; in"},
      {A::Pick, F::Profile, "9", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm"},
      {A::Type, F::Z1, "9", "requested 600.00 302.74 4/60; shorter 598.13 -1.87 302 4/60; longer 600.65 +0.65 303 4/60; few_teeth_in_mesh; pulley_below_stock; offset_unconfirmed; mm"},
      {A::Type, F::Z1, "28", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm"},
      {A::Type, F::Value, "10", "error: centre distance 10.00 mm is too small for these pulleys: it must be more than 66.85 mm, half the difference of their pitch diameters"},
      {A::Pick, F::Units, "1", "error: centre distance 0.394 in is too small for these pulleys: it must be more than 2.632 in, half the difference of their pitch diameters"},
      {A::Pick, F::Units, "0", "error: centre distance 10.00 mm is too small for these pulleys: it must be more than 66.85 mm, half the difference of their pitch diameters"},
      {A::Paste, F::Value, "7", nullptr},
      {A::Close, F::Value, "", nullptr},
      {A::Start, F::Value, "", nullptr},
      {A::Type, F::Value, "600", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm"},
      {A::Copy, F::Value, "", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm"},
      {A::Close, F::Value, "", nullptr},
      {A::Start, F::Value, "", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm"},
      {A::Type, F::Power, "2.2", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm | load | a load needs --rpm, the driving pulley's speed"},
      {A::Type, F::Rpm, "1450", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; no_public_rating; service_factor_assumed; mm | load 972.0 | load: 2.2 kW at 1450 rpm on pulley 1, which turns pulley 2 at 362.5 rpm"},
      {A::Type, F::Width, "12", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; mm | load | --width \"12\": T5 stock widths are 6 10 16 25 mm"},
      {A::Type, F::Width, "16", "requested 600.00 311.49 13/59; shorter 598.76 -1.24 311 13/59; longer 601.28 +1.28 312 13/59; offset_unconfirmed; no_public_rating; service_factor_assumed; mm | load 16 972.0 | load: 2.2 kW at 1450 rpm on pulley 1, which turns pulley 2 at 362.5 rpm"},
      {A::Pick, F::Profile, "16", "requested 23.622 307.73 12/60; shorter 23.548 -0.074 307 12/60; longer 23.649 +0.027 308 12/60; in | load | --width \"16\": XL stock widths are 0.25 0.3125 0.375 in"},
      {A::Type, F::Width, "0.31", "requested 23.622 307.73 12/60; shorter 23.548 -0.074 307 12/60; longer 23.649 +0.027 308 12/60; over_capacity; service_factor_assumed; in | load 0.3125 0.143 0.04 480.2 800.2 160.2 134.5 954.3 956.6 | load: 2.2 kW at 1450 rpm on pulley 1, which turns pulley 2 at 362.5 rpm"},
      {A::Type, F::ServiceFactor, "0", "requested 23.622 307.73 12/60; shorter 23.548 -0.074 307 12/60; longer 23.649 +0.027 308 12/60; in | load | --service-factor \"0\": expected a factor from 0.000001 to 1000"},
      {A::Type, F::ServiceFactor, "2", "requested 23.622 307.73 12/60; shorter 23.548 -0.074 307 12/60; longer 23.649 +0.027 308 12/60; over_capacity; in | load 0.3125 0.143 0.03 640.2 960.2 320.2 155.3 1272.2 1273.8 | load: 2.2 kW at 1450 rpm on pulley 1, which turns pulley 2 at 362.5 rpm"},
      {A::Type, F::Power, "3hp", "requested 23.622 307.73 12/60; shorter 23.548 -0.074 307 12/60; longer 23.649 +0.027 308 12/60; over_capacity; in | load 0.3125 0.143 0.03 651.0 976.4 325.6 156.6 1293.7 1295.3 | load: 2.237 kW at 1450 rpm on pulley 1, which turns pulley 2 at 362.5 rpm"},
      {A::Type, F::Torque, "5", "requested 23.622 307.73 12/60; shorter 23.548 -0.074 307 12/60; longer 23.649 +0.027 308 12/60; in | load | give --power or --torque, not both"},
      {A::Type, F::Power, "", "requested 23.622 307.73 12/60; shorter 23.548 -0.074 307 12/60; longer 23.649 +0.027 308 12/60; over_capacity; in | load 0.3125 0.143 0.09 221.1 331.5 110.7 91.3 439.3 439.6 | load: 0.759 kW at 1450 rpm on pulley 1, which turns pulley 2 at 362.5 rpm"},
      {A::Close, F::Value, "", nullptr},
      {A::Start, F::Value, "", "requested 23.622 307.73 12/60; shorter 23.548 -0.074 307 12/60; longer 23.649 +0.027 308 12/60; over_capacity; in | load 0.3125 0.143 0.09 221.1 331.5 110.7 91.3 439.3 439.6 | load: 0.759 kW at 1450 rpm on pulley 1, which turns pulley 2 at 362.5 rpm"},
      {A::Close, F::Value, "", nullptr},
  };
  // clang-format on
  for (const DriveStep& step : steps) {
    SCOPED_TRACE(std::to_string(static_cast<int>(step.act)) + " " + step.text);
    driver.act(step);
    if (step.shown != nullptr) {
      EXPECT_EQ(driver.shown(), step.shown);
    }
    if (step.act == A::Paste) {
      const std::string text = driver.text(step.field);
      EXPECT_TRUE(text == pastedText(step).substr(0, kLongestDriveText))
          << "the box holds " << text.size() << " bytes";
    }
  }
  EXPECT_EQ(driver.reports, "");
  EXPECT_EQ(
      driver.clipboard.substr(0, driver.clipboard.find('\n')),
      "case\tprofile\tz1\tz2\tD1\tD2\tDa1\tDa2\tC\tL\tbelt_teeth\tratio\twrap1\twrap2\tmesh1\t"
      "mesh2\twarnings");
  EXPECT_EQ(driver.clipboard.substr(driver.clipboard.find('\n') + 1, 20),
            "requested\tT5\t28\t112\t");
  EXPECT_EQ(driver.directory.read("Drive.txt"),
            "# Korvale belt drive\nprofile=XL\nz1=28\nz2=112\ngiven=centre\nvalue=23.622\n"
            "increment=1\nunits=in\ntorque=5\nrpm=1450\nservice_factor=2\nwidth=0.31\n");
}

}  // namespace korvale::ui::testing
