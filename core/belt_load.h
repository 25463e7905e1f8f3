#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/belt_drive.h"
#include "core/belt_ratings.h"

namespace korvale {

// The load on a drive: the power (or the torque) pulley 1 drives with, at its speed.
struct LoadRequest {
  std::optional<double> power;   // kW
  std::optional<double> torque;  // N·m on the driving shaft; one of the two is given
  double rpm = 0;                // of the driving pulley
  std::optional<double> serviceFactor;
  // The belt's width in the profile's width unit: a stock width where the profile has them, any
  // width where none are published; without it the narrowest stock width that carries the load.
  std::optional<double> width;
  std::optional<double> ratedPower;  // kW at `width`, from the maker, for an unrated profile
};

// The service factor taken when none is given: the low end of the 1.5 to 2.0 that SDP/SI's
// handbook D265 (p. T-61, step 1 of its drive selection) recommends for small-pitch synchronous
// drives.
inline constexpr double kAssumedServiceFactor = 1.5;
inline constexpr std::string_view kServiceFactorSource = "SDP/SI D265 p. T-61";

// The load's figures at one row of the drive. Forces in newtons, lengths in millimetres, powers
// in kW; a figure that rests on data no public source gives is nothing.
struct LoadRow {
  // Each figure starts empty without the whole row being cleared first: a row is some hundreds of
  // bytes, filled for each row of the drive on every keystroke.
  LoadRow() {}  // NOLINT(modernize-use-equals-default): "= default" would clear it all

  double span = 0;  // each straight span, between the tangent points: C·cos φ
  long teethInMesh = 0;
  std::optional<double> kz;  // the rating's teeth-in-mesh factor, where the profile is rated
  std::optional<double> width;
  bool widthChosen = false;            // the narrowest stock width that carries the design power
  std::optional<double> ratedPower;    // at the width
  std::optional<double> margin;        // rated ÷ design power
  std::optional<double> shortfall;     // design less rated power, where it falls short
  std::optional<double> massPerMetre;  // kg/m at the width
  std::optional<double> tc;            // centrifugal tension m′·v²
  // The installation tension per span: the least that keeps the slack span taut at the design
  // power, Tst = Te/2 + Tc (Te the design pull).
  std::optional<double> tStatic;
  std::optional<double> tTight, tSlack;  // the spans' tensions running at the power itself
  double deflection = 0;                 // at mid-span to test the tension: 1/64 of the span
  // The force for that deflection, Tst/16 to 1.1·Tst/16: SDP/SI D790 p. T-3 (equations 1-4 and
  // 1-5) without their belt-stiffness term (t/L)·Y, whose Y no public source at hand gives.
  std::optional<double> deflectionForceMin, deflectionForceMax;
  std::optional<double> frequency;  // of the span at Tst (what a sonic meter reads), Hz
  std::optional<double> hubStatic;  // on each shaft, standing: 2·Tst·sin(θ/2)
  // On each shaft, running at the power: from the spans' tensions less the centrifugal part,
  // √(F1² + F2² − 2·F1·F2·cos θ). Both shafts carry the same in a two-pulley drive.
  double hubRunning = 0;
};

struct LoadSolution {
  double rpm1 = 0, rpm2 = 0;
  double power = 0, designPower = 0;
  double serviceFactor = 0;
  bool serviceFactorAssumed = false;
  double torque1 = 0, torque2 = 0;  // N·m
  double speed = 0;                 // the belt's, m/s
  double pull = 0;                  // the effective pull at the design power, Te = 1000·Pd/v
  double runningPull = 0;           // at the power itself
  const BeltRating* rating = nullptr;
  bool widthGiven = false;
  std::vector<LoadRow> rows;  // one per row of the drive
};

// The load at every row of a solved drive (which must not have failed); adds the load's warnings
// to the rows. The request's figures must be positive and finite, its width one the rating
// accepts.
//   L 20/40 at C 300, 0.5 kW at 1450 rpm, K 1.5: v 4.60 m/s, Te 162.9 N, width 0.75 in
//   (0.804 kW; 0.5 in rates 0.506)
LoadSolution SolveLoad(const DriveRequest& drive, const LoadRequest& load, DriveSolution& solution);

}  // namespace korvale
