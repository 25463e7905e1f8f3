#include "core/belt_load.h"

#include <cmath>

namespace korvale {
namespace {

constexpr double kPi = 3.14159265358979323846;

void warn(DriveRow& row, DriveWarning warning) {
  row.warnings |= static_cast<unsigned>(warning);
}

// The rated power at a width, or nothing where the rating does not reach the drive.
std::optional<double> ratedAt(const BeltRating& rating, double width, double smallDiameter,
                              double smallRpm, const std::optional<double>& kz) {
  if (!kz) return std::nullopt;
  return RatedPower(rating, width, smallDiameter, smallRpm, *kz);
}

}  // namespace

LoadSolution SolveLoad(const DriveRequest& drive, const LoadRequest& load,
                       DriveSolution& solution) {
  const PulleyPair& pulleys = drive.pulleys;
  LoadSolution out;
  out.rating = &BeltRatingOf(*pulleys.profile);
  const BeltRating& rating = *out.rating;
  out.rpm1 = load.rpm;
  out.rpm2 = load.rpm * static_cast<double>(pulleys.z1) / static_cast<double>(pulleys.z2);
  const double omega1 = 2 * kPi * out.rpm1 / 60;
  out.power = load.power ? *load.power : *load.torque * omega1 / 1000;
  out.serviceFactorAssumed = !load.serviceFactor;
  out.serviceFactor = load.serviceFactor ? *load.serviceFactor : kAssumedServiceFactor;
  out.designPower = out.power * out.serviceFactor;
  out.torque1 = load.torque ? *load.torque : 1000 * out.power / omega1;
  out.torque2 = 1000 * out.power / (2 * kPi * out.rpm2 / 60);
  out.speed = kPi * solution.D1 * out.rpm1 / 60000;
  out.pull = 1000 * out.designPower / out.speed;
  out.runningPull = 1000 * out.power / out.speed;
  out.widthGiven = load.width.has_value();

  const bool firstSmaller = pulleys.z1 <= pulleys.z2;
  const double smallDiameter = firstSmaller ? solution.D1 : solution.D2;
  const double smallRpm = firstSmaller ? out.rpm1 : out.rpm2;
  const double halfDifference = std::fabs(solution.D2 - solution.D1) / 2;
  const bool tooFast = rating.speedLimit > 0 && out.speed > rating.speedLimit;

  // Reserved, so that a row may look back at the one before it.
  out.rows.reserve(solution.rows.size());
  const double tightOnPulleys = (out.pull + out.runningPull) / 2;
  const double slackOnPulleys = (out.pull - out.runningPull) / 2;
  double waveSpeed = 0;  // √(Tst/m) of the last belt worked out
  for (DriveRow& row : solution.rows) {
    // Built in place: a row of the load is some hundreds of bytes.
    const LoadRow* previous = out.rows.empty() ? nullptr : &out.rows.back();
    LoadRow& figures = out.rows.emplace_back();
    figures.span = std::sqrt((row.centre - halfDifference) * (row.centre + halfDifference));
    figures.teethInMesh = firstSmaller ? row.mesh1 : row.mesh2;
    if (out.serviceFactorAssumed) warn(row, DriveWarning::ServiceFactorAssumed);
    if (tooFast) warn(row, DriveWarning::SpeedOverLimit);

    if (rating.kind == RatingKind::None) {
      warn(row, DriveWarning::NoPublicRating);
      figures.width = load.width;
      figures.ratedPower = load.ratedPower;
    } else {
      figures.kz = TeethInMeshFactor(figures.teethInMesh);
      const std::optional<double> kz = tooFast ? std::nullopt : figures.kz;
      if (!kz) warn(row, DriveWarning::OutsideRatingTable);
      if (load.width) {
        figures.width = load.width;
        figures.ratedPower = ratedAt(rating, *load.width, smallDiameter, smallRpm, kz);
      } else if (kz && previous != nullptr && previous->kz == kz) {
        // The rows of one drive mostly mesh alike: the same factor chooses the same width.
        figures.width = previous->width;
        figures.ratedPower = previous->ratedPower;
        figures.widthChosen = true;
      } else if (kz) {
        // The narrowest stock width that carries the design power, else the widest.
        for (std::size_t i = 0; i < rating.widthCount; ++i) {
          figures.width = rating.widths[i];
          figures.ratedPower = ratedAt(rating, rating.widths[i], smallDiameter, smallRpm, kz);
          if (figures.ratedPower && *figures.ratedPower >= out.designPower) break;
        }
        figures.widthChosen = true;
      }
    }
    if (figures.ratedPower) {
      figures.margin = *figures.ratedPower / out.designPower;
      if (*figures.ratedPower < out.designPower) {
        figures.shortfall = out.designPower - *figures.ratedPower;
        warn(row, DriveWarning::OverCapacity);
      }
    }

    // With Tst = Te/2 + Tc, what bears on the pulleys running (the spans' tension less the
    // centrifugal part) needs no mass: (Te ± Te running)/2. With cos θ = 2·sin²φ − 1 (θ = 180° ∓ 2φ
    // on either pulley), F1² + F2² − 2·F1·F2·cos θ is (F1 + F2)² − 4·F1·F2·sin²φ.
    const double sinePhi = halfDifference / row.centre;
    figures.hubRunning =
        std::sqrt(out.pull * out.pull - 4 * tightOnPulleys * slackOnPulleys * sinePhi * sinePhi);
    figures.deflection = figures.span / 64;
    if (!figures.width) continue;
    if (previous != nullptr && previous->width == figures.width) {
      // The same belt: the same mass, and the same tensions.
      figures.massPerMetre = previous->massPerMetre;
      figures.tc = previous->tc;
      figures.tStatic = previous->tStatic;
      figures.tTight = previous->tTight;
      figures.tSlack = previous->tSlack;
      figures.deflectionForceMin = previous->deflectionForceMin;
      figures.deflectionForceMax = previous->deflectionForceMax;
    } else if ((figures.massPerMetre = BeltMassPerMetre(rating, *figures.width))) {
      const double m = *figures.massPerMetre;
      figures.tc = m * out.speed * out.speed;
      const double tst = out.pull / 2 + *figures.tc;
      figures.tStatic = tst;
      figures.tTight = tst + out.runningPull / 2;
      figures.tSlack = tst - out.runningPull / 2;
      figures.deflectionForceMin = tst / 16;
      figures.deflectionForceMax = 1.1 * tst / 16;
      waveSpeed = std::sqrt(tst / m);
    }
    if (figures.tStatic) {
      figures.frequency = waveSpeed / (2 * figures.span / 1000);
      figures.hubStatic = 2 * *figures.tStatic * (figures.span / row.centre);  // sin(θ/2) = cos φ
    }
  }
  return out;
}

}  // namespace korvale
