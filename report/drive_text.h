#pragma once

#include <string>
#include <vector>

#include "core/belt_drive.h"
#include "core/belt_load.h"
#include "report/units.h"

// A drive's figures as people read them: rounded as korvale-calc's text prints them, and the
// words of its warnings and failures.
namespace korvale::report {

// The drive as the text output shows it, each figure rounded as it prints it.
struct DriveTextRow {
  std::string kind, centre, change, length, beltTeeth, wrap1, wrap2, mesh1, mesh2;
};
// A warning of the drive and the rows it concerns ("shorter, longer"; empty when every row).
struct DriveNote {
  DriveWarning warning;
  std::string rows;
};
struct DriveText {
  std::string unit;                              // "mm" or "in"
  std::string ratio;                             // "4/1 (4)"
  std::string heading;                           // "14M drive: 28 and 112 teeth, ratio 4/1 (4)"
  std::string pulleys[2];                        // "pulley 1: 28 teeth, D 124.77 mm, Da 121.97 mm"
  std::string pitchDiameter[2], tipDiameter[2];  // floored: "124.77"
  bool tipMarked = false;                        // Da rests on an offset no source states outright
  bool tipsKnown = true;  // false where no source gives the offset: tipDiameter is then empty
  bool kzNamed = false;   // a load is rated: few_teeth_in_mesh names the rating's cut
  std::vector<DriveTextRow> rows;
  std::vector<std::string> warnings;  // "warning: few_teeth_in_mesh (shorter): fewer than 6 ..."
  std::vector<DriveNote> notes;       // the same warnings, for words in another language
};
DriveText DriveTextOf(const DriveRequest& request, Units units, const DriveSolution& solution,
                      const LoadSolution* load = nullptr);

// The warning in one English sentence, with the figures of this profile.
std::string DriveWarningText(DriveWarning warning, const BeltProfile& profile);

// Why the drive cannot be built, with the limit: "centre distance 100.00 mm is too small ...".
std::string DriveFailureText(const DriveRequest& request, Units units, const DriveFailure& failure);

}  // namespace korvale::report
