#include "core/belt_drive.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace korvale {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Teeth in mesh are floored with this much allowance, so that a wrap of exactly half a turn on
// 20 teeth counts 10 even when the angle's last bit falls short.
constexpr double kMeshTolerance = 1e-9;

// What the length formula needs of a pair. π(D1 + D2)/2 is taken as (z1 + z2)·p/2, which has no
// rounding from π at all: equal pulleys give 2C plus a whole number of pitches exactly.
struct Geometry {
  double diameterDifference;  // D2 − D1, signed
  double halfCircumferences;  // π(D1 + D2)/2
  double shortestBelt;        // π·max(D1, D2): a belt must be longer
};

Geometry geometryOf(const PulleyPair& pulleys) {
  const double pitch = pulleys.profile->pitch;
  return {static_cast<double>(pulleys.z2 - pulleys.z1) * pitch / kPi,
          static_cast<double>(pulleys.z1 + pulleys.z2) * pitch / 2,
          static_cast<double>(std::max(pulleys.z1, pulleys.z2)) * pitch};
}

double sineOfSpanAngle(const Geometry& geometry, double centre) {
  return geometry.diameterDifference / (2 * centre);
}

// The angle φ of the belt's straight spans to the line of centres, as sine and cosine.
struct Span {
  double sine;
  double cosine;
};

Span spanAt(const Geometry& geometry, double centre) {
  const double s = sineOfSpanAngle(geometry, centre);
  return {s, std::sqrt((1 - s) * (1 + s))};
}

double lengthAt(const Geometry& geometry, double centre, const Span& span) {
  return 2 * centre * span.cosine + geometry.halfCircumferences +
         std::asin(span.sine) * geometry.diameterDifference;
}

double closedFormCentre(const Geometry& geometry, double length) {
  const double b = length - geometry.halfCircumferences;
  const double d = geometry.diameterDifference;
  const double discriminant = b * b - 2 * d * d;
  return discriminant >= 0 ? (b + std::sqrt(discriminant)) / 4 : b / 4;
}

// The closed form drops the terms of L(C) beyond (D2 − D1)²/4C; the next one, (D2 − D1)⁴/192C³,
// taken in one step, brings the start some hundredfold closer.
double startingCentre(const Geometry& geometry, double length) {
  const double centre = closedFormCentre(geometry, length);
  const double q = geometry.diameterDifference * geometry.diameterDifference / (centre * centre);
  return centre - centre * q * q / (384 - 48 * q);
}

// L(C) rises strictly (dL/dC = 2 cos φ) and is convex (d²L/dC² = 2 sin²φ / C cos φ), and the
// start lies above the root, so Newton walks down without overshooting; the bracket, with
// bisection, catches what rounding might still do.
double solveCentre(const Geometry& geometry, double length) {
  double low = std::fabs(geometry.diameterDifference) / 2;
  double high = length / 2;
  double centre = startingCentre(geometry, length);
  if (!(centre > low && centre <= high)) centre = high;
  for (int step = 0; step < 200; ++step) {
    const Span span = spanAt(geometry, centre);
    const double excess = lengthAt(geometry, centre, span) - length;
    if (excess == 0) return centre;
    (excess > 0 ? high : low) = centre;
    const double newtonStep = excess / (2 * span.cosine);
    const double next = centre - newtonStep;
    if (next > low && next < high) {
      // Newton leaves an error of about (sin²φ / 2 cos²φ)·step²/C: once that is below what a
      // double holds, this step is the last one.
      const double sineStep = span.sine * newtonStep;
      const double cosineCentre = span.cosine * centre;
      if (sineStep * sineStep <= 2e-17 * cosineCentre * cosineCentre) return next;
      centre = next;
    } else {
      centre = low + (high - low) / 2;
      if (high - low <= 1e-15 * high) return centre;
    }
  }
  return centre;
}

struct Context {
  PulleyPair pulleys;
  Geometry geometry;
  double tipCircleTouch;  // (Da1 + Da2) / 2
  unsigned driveWarnings;
};

DriveRow rowAt(const Context& context, std::string_view kind, double centre, double length) {
  const double phi = std::asin(sineOfSpanAngle(context.geometry, centre)) * 180 / kPi;
  DriveRow row{kind,          centre,        0, length, length / context.pulleys.profile->pitch,
               180 - 2 * phi, 180 + 2 * phi, 0, 0,      context.driveWarnings};
  row.mesh1 = TeethInMesh(context.pulleys.z1, row.wrap1);
  row.mesh2 = TeethInMesh(context.pulleys.z2, row.wrap2);
  const long smallMesh = context.pulleys.z1 <= context.pulleys.z2 ? row.mesh1 : row.mesh2;
  if (smallMesh < 6) row.warnings |= static_cast<unsigned>(DriveWarning::FewTeethInMesh);
  if (centre <= context.tipCircleTouch)
    row.warnings |= static_cast<unsigned>(DriveWarning::TipsTouch);
  return row;
}

std::optional<DriveRow> beltRow(const Context& context, std::string_view kind, double length) {
  if (!(length > context.geometry.shortestBelt)) return std::nullopt;
  const double centre = solveCentre(context.geometry, length);
  return rowAt(context, kind, centre, length);
}

// The whole-tooth belts either side of the requested one. A belt of exactly the larger pulley's
// teeth (its pitch circumference) fits at no centre distance, so near the smallest centre the
// belt next below is no belt at all: there is then no shorter one, and the longer one is the
// first multiple of the increment with more teeth than the larger pulley.
void addStockBelts(const Context& context, const DriveRequest& request, DriveSolution& solution) {
  DriveRow& requested = solution.rows.front();
  const double pitch = context.pulleys.profile->pitch;
  const double increment = static_cast<double>(request.increment);
  const double fewestTeeth = context.geometry.shortestBelt / pitch;  // a belt must have more
  const double nearestWhole = std::round(requested.beltTeeth);
  const bool whole = std::fabs(requested.beltTeeth - nearestWhole) <= 1e-9;
  const double units = (whole ? nearestWhole : requested.beltTeeth) / increment;
  if (whole && std::fmod(nearestWhole, increment) == 0 && nearestWhole > fewestTeeth) {
    solution.rows.push_back(*beltRow(context, "exact", nearestWhole * pitch));
  } else {
    const double shorterTeeth = std::floor(units) * increment;
    const double longerTeeth = std::max(std::ceil(units) * increment,
                                        (std::floor(fewestTeeth / increment) + 1) * increment);
    if (auto shorter = beltRow(context, "shorter", shorterTeeth * pitch)) {
      solution.rows.push_back(*shorter);
    } else {
      requested.warnings |= static_cast<unsigned>(DriveWarning::NoShorterBelt);
    }
    solution.rows.push_back(*beltRow(context, "longer", longerTeeth * pitch));
  }
  for (std::size_t i = 1; i < solution.rows.size(); ++i) {
    solution.rows[i].centreChange = solution.rows[i].centre - requested.centre;
  }
}

}  // namespace

long TeethInMesh(long teeth, double wrapDegrees) {
  const double inMesh = static_cast<double>(teeth) * wrapDegrees / 360;
  return static_cast<long>(std::floor(inMesh + kMeshTolerance * std::max(1.0, inMesh)));
}

double DrivePitchDiameter(long teeth, double pitch) {
  return static_cast<double>(teeth) * pitch / kPi;
}

double BeltPitchLength(const PulleyPair& pulleys, double centre) {
  const Geometry geometry = geometryOf(pulleys);
  return lengthAt(geometry, centre, spanAt(geometry, centre));
}

double ApproximateCentre(const PulleyPair& pulleys, double length) {
  return closedFormCentre(geometryOf(pulleys), length);
}

std::optional<double> CentreForLength(const PulleyPair& pulleys, double length) {
  const Geometry geometry = geometryOf(pulleys);
  if (!(length > geometry.shortestBelt)) return std::nullopt;
  return solveCentre(geometry, length);
}

std::string_view DriveWarningId(DriveWarning warning) {
  switch (warning) {
    case DriveWarning::FewTeethInMesh:
      return "few_teeth_in_mesh";
    case DriveWarning::PulleyBelowStock:
      return "pulley_below_stock";
    case DriveWarning::TipsTouch:
      return "tips_touch";
    case DriveWarning::OffsetUnconfirmed:
      return "offset_unconfirmed";
    case DriveWarning::NoShorterBelt:
      return "no_shorter_belt";
    case DriveWarning::MakersTipDiffers:
      return "makers_tip_differs";
    case DriveWarning::OverCapacity:
      return "over_capacity";
    case DriveWarning::SpeedOverLimit:
      return "speed_over_limit";
    case DriveWarning::OutsideRatingTable:
      return "outside_rating_table";
    case DriveWarning::NoPublicRating:
      return "no_public_rating";
    case DriveWarning::ServiceFactorAssumed:
      return "service_factor_assumed";
  }
  return "";
}

DriveSolution SolveDrive(const DriveRequest& request) {
  const PulleyPair& pulleys = request.pulleys;
  const BeltProfile& profile = *pulleys.profile;
  DriveSolution solution;
  solution.D1 = DrivePitchDiameter(pulleys.z1, profile.pitch);
  solution.D2 = DrivePitchDiameter(pulleys.z2, profile.pitch);
  solution.tipsKnown = profile.offsetSource != OffsetSource::Unpublished;
  if (solution.tipsKnown) {
    solution.Da1 = solution.D1 - 2 * profile.pitchLineOffset;
    solution.Da2 = solution.D2 - 2 * profile.pitchLineOffset;
  }
  const long common = std::gcd(pulleys.z1, pulleys.z2);
  solution.ratioDriven = pulleys.z2 / common;
  solution.ratioDriving = pulleys.z1 / common;

  Context context{pulleys, geometryOf(pulleys), (solution.Da1 + solution.Da2) / 2, 0};
  if (std::min(pulleys.z1, pulleys.z2) < profile.smallestPulley)
    context.driveWarnings |= static_cast<unsigned>(DriveWarning::PulleyBelowStock);
  if (profile.offsetSource == OffsetSource::Derived ||
      profile.offsetSource == OffsetSource::Unconfirmed)
    context.driveWarnings |= static_cast<unsigned>(DriveWarning::OffsetUnconfirmed);
  if (std::min(pulleys.z1, pulleys.z2) <= profile.makersLargerTipUpTo)
    context.driveWarnings |= static_cast<unsigned>(DriveWarning::MakersTipDiffers);

  solution.rows.reserve(3);
  if (request.given == DriveGiven::Centre) {
    const double limit = std::fabs(context.geometry.diameterDifference) / 2;
    if (!(request.value > limit)) {
      solution.failure = DriveFailure{DriveFailure::CentreTooSmall, limit};
      return solution;
    }
    const double length = BeltPitchLength(pulleys, request.value);
    solution.rows.push_back(rowAt(context, "requested", request.value, length));
    addStockBelts(context, request, solution);
    return solution;
  }
  const bool byTeeth = request.given == DriveGiven::BeltTeeth;
  const double length = byTeeth ? request.value * profile.pitch : request.value;
  if (auto row = beltRow(context, byTeeth ? "belt" : "length", length)) {
    solution.rows.push_back(*row);
  } else {
    solution.failure = DriveFailure{DriveFailure::BeltTooShort, context.geometry.shortestBelt};
  }
  return solution;
}

}  // namespace korvale
