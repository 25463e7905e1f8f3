#pragma once

#include <string>
#include <vector>

#include "core/belt_load.h"
#include "report/units.h"

// The load's figures as people read them, rounded as korvale-calc's text prints them, and the
// sources they rest on.
namespace korvale::report {

// One row of the drive with its load; a figure that does not apply is empty.
struct LoadTextRow {
  std::string kind, width, rated, margin, kz, mass, tc;
  std::string tStatic, tTight, tSlack, span, deflection, force, frequency, hubStatic, hubRunning;
};

struct LoadText {
  // Rounded figures, for the sentences in any language.
  std::string power, designPower, serviceFactor, rpm1, rpm2, torque1, torque2, speed, pull,
      runningPull;
  bool serviceFactorAssumed = false;
  bool rated = false;  // the profile has a public rating
  bool widthGiven = false;
  std::string widthUnit;   // "in" or "mm": the profile's width unit
  std::string lengthUnit;  // the drive's: "mm" or "in"
  // Without a rating: the effective pull per millimetre of width ("91.0 N/mm at 15 mm"), for
  // each stock width or the width given.
  std::vector<std::string> pullPerWidth;
  std::vector<LoadTextRow> rows;
  // Where the width falls short at some row: the shortfall there ("2.184 kW short at 1 in"),
  // the largest of the rows'.
  std::string shortfall;
  std::string ratingSource, widthSource, massSource;  // empty where none applies
  bool massKnown = false;                             // at every row with a width
};
LoadText LoadTextOf(Units units, const LoadSolution& load, const DriveSolution& solution);

// The load's lines in English, as korvale-calc's text output prints them before and after its
// two tables: "load: 2.2 kW at 1450 rpm on pulley 1 ...".
std::vector<std::string> LoadLinesBefore(const LoadText& load);
std::vector<std::string> LoadLinesAfter(const LoadText& load);

}  // namespace korvale::report
