#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/belt_profiles.h"

namespace korvale {

// An open belt over two pulleys of one profile, solved exactly. Lengths in millimetres, angles in
// degrees, π to double precision (the calculator window keeps its ten-digit divisor; the two
// agree to 1.3e-10 relative).
//
// 14M, 28 and 112 teeth, C = 600: D1 124.777475, D2 499.109902, L 2238.873225 (159.9195 teeth),
// wraps 143.647 and 216.353, 11 and 67 teeth in mesh, ratio 4/1; the stock belts either side are
// 159 teeth at C 593.221159 and 160 teeth at C 600.592945.

struct PulleyPair {
  const BeltProfile* profile;
  long z1;  // the driving pulley's teeth
  long z2;  // the driven pulley's teeth
};

// The teeth wholly in mesh over a wrap, floored with an allowance of 1e-9 so that half a turn on
// 20 teeth counts 10 even when the angle's last bit falls short: (20, 180) -> 10, (28, 143.6)
// -> 11.
long TeethInMesh(long teeth, double wrapDegrees);

// The pitch circle: teeth × pitch / π. (20, 5) -> 31.830989
double DrivePitchDiameter(long teeth, double pitch);

// The belt's pitch length at centre distance C, which must be more than |D2 − D1| / 2:
// L = 2C·cos φ + π(D1 + D2)/2 + φ(D2 − D1) with sin φ = (D2 − D1) / 2C.
// 5M 20/20 at C = 100 -> 300 exactly.
double BeltPitchLength(const PulleyPair& pulleys, double centre);

// The usual closed-form estimate of the centre distance for a belt length. It always comes out
// above the exact one (14M 28/112 on a 120-tooth belt: by 3.2 mm).
double ApproximateCentre(const PulleyPair& pulleys, double length);

// The centre distance at which a belt of this pitch length fits, solved (Newton from the closed
// form, kept inside (|D2 − D1|/2, L/2] with bisection to fall back on); nullopt for a belt no
// longer than the larger pulley's pitch circumference, which cannot be fitted.
std::optional<double> CentreForLength(const PulleyPair& pulleys, double length);

// What a result can warn of; each has a stable identifier ("few_teeth_in_mesh").
enum class DriveWarning : unsigned {
  FewTeethInMesh = 1,     // under 6 teeth in mesh on the small pulley
  PulleyBelowStock = 2,   // a pulley below the profile's smallest commonly stocked size
  TipsTouch = 4,          // the tip circles touch or overlap: C <= (Da1 + Da2) / 2
  OffsetUnconfirmed = 8,  // Da rests on an offset no source states outright
  NoShorterBelt = 16,     // no whole-tooth belt shorter than the requested centre fits
  MakersTipDiffers = 32,  // a pulley so small that makers' outside diameters exceed D - 2u
  // The load's (core/belt_load.h):
  OverCapacity = 64,         // no stock width carries the design power, or the given one does not
  SpeedOverLimit = 128,      // the belt runs faster than its rating holds to
  OutsideRatingTable = 256,  // the rating does not reach this drive: none is given
  NoPublicRating = 512,      // no public source rates this profile
  ServiceFactorAssumed = 1024,  // none was given: the handbook's one was taken
};
inline constexpr DriveWarning kDriveWarnings[] = {
    DriveWarning::FewTeethInMesh,      DriveWarning::PulleyBelowStock,
    DriveWarning::TipsTouch,           DriveWarning::OffsetUnconfirmed,
    DriveWarning::NoShorterBelt,       DriveWarning::MakersTipDiffers,
    DriveWarning::OverCapacity,        DriveWarning::SpeedOverLimit,
    DriveWarning::OutsideRatingTable,  DriveWarning::NoPublicRating,
    DriveWarning::ServiceFactorAssumed};
std::string_view DriveWarningId(DriveWarning warning);

enum class DriveGiven { Centre, BeltTeeth, BeltLength };

struct DriveRequest {
  PulleyPair pulleys;
  DriveGiven given;
  double value;        // the centre distance, the belt's teeth or its pitch length
  long increment = 1;  // stock belts come in multiples of this many teeth
};

// One way of running the drive: the requested centre, a stock belt either side, or the belt given.
struct DriveRow {
  std::string_view kind;  // "requested", "shorter", "longer", "exact", "belt", "length"
  double centre;
  double centreChange;  // from the requested centre, for the stock belts; 0 otherwise
  double length;
  double beltTeeth;
  double wrap1;
  double wrap2;
  long mesh1;
  long mesh2;
  unsigned warnings;  // DriveWarning bits
  bool has(DriveWarning warning) const { return (warnings & static_cast<unsigned>(warning)) != 0; }
};

// Why a drive cannot be built, with the limit it broke.
struct DriveFailure {
  enum Kind { BeltTooShort, CentreTooSmall } kind;
  double limit;  // the belt must be longer than this, or the centre distance more than this
};

struct DriveSolution {
  double D1 = 0, D2 = 0;
  // The tip diameters, where the profile's offset is published (tipsKnown); 0 where not, which
  // leaves the tips-touch check nothing to find.
  double Da1 = 0, Da2 = 0;
  bool tipsKnown = true;
  long ratioDriven = 0, ratioDriving = 0;  // z2/z1 reduced: 112/28 -> 4/1
  std::vector<DriveRow> rows;
  std::optional<DriveFailure> failure;  // rows is empty when set
};

// The whole drive for one request. Teeth must be at least 1, the value positive and finite.
DriveSolution SolveDrive(const DriveRequest& request);

}  // namespace korvale
