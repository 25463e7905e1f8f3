#include "report/drive_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/belt_load.h"
#include "report/number_format.h"

namespace korvale::report {
namespace {

// 4 -> "4", 1.5 -> "1.5", 17/7 -> "2.4286"
std::string ratioDecimal(double ratio) {
  return trimmedText(ratio, 4);
}

std::string beltTeethText(double teeth) {
  return std::floor(teeth) == teeth ? fixedText(teeth, 0) : fixedText(teeth, 2);
}

}  // namespace

std::string DriveWarningText(DriveWarning warning, const BeltProfile& profile) {
  const std::string name(profile.name);
  switch (warning) {
    case DriveWarning::FewTeethInMesh:
      return "fewer than 6 teeth in mesh on the small pulley: the belt may jump teeth under load";
    case DriveWarning::PulleyBelowStock:
      return "a pulley has fewer than " + std::to_string(profile.smallestPulley) +
             " teeth, the smallest " + name +
             " pulley commonly stocked (catalogue guidance, not a standard)";
    case DriveWarning::TipsTouch:
      return "the pulleys' tip circles touch or overlap at this centre distance";
    case DriveWarning::OffsetUnconfirmed: {
      std::string offset;
      appendShortest(offset, profile.pitchLineOffset);
      return profile.offsetSource == OffsetSource::Derived
                 ? "Da rests on u = " + offset + " mm for " + name +
                       ", worked back from a vendor's pitch and outside diameters"
                 : "Da rests on u = " + offset + " mm for " + name +
                       ", a commonly quoted figure no source at hand confirms";
    }
    case DriveWarning::NoShorterBelt:
      return "no whole-tooth belt shorter than this one fits these pulleys";
    case DriveWarning::MakersTipDiffers:
      return "makers' tables give " + name + " pulleys of " +
             std::to_string(profile.makersLargerTipUpTo) +
             " teeth or fewer a larger outside diameter than D - 2u: take the maker's figure";
    case DriveWarning::OverCapacity:
      return "the rated power falls short of the design power: a wider belt, a larger pitch or a "
             "larger small pulley";
    case DriveWarning::SpeedOverLimit:
      return "the belt runs faster than the " + fixedText(BeltRatingOf(profile).speedLimit, 2) +
             " m/s (6500 ft/min) its rating holds to";
    case DriveWarning::OutsideRatingTable:
      return "the rating does not reach this drive (the belt's speed, or fewer than 2 teeth in "
             "mesh): no rated power is given";
    case DriveWarning::NoPublicRating:
      return "no public rating for this profile: compare the effective pull with the maker's "
             "datasheet, or give the maker's rated power for the width";
    case DriveWarning::ServiceFactorAssumed:
      return "no service factor given: " + ratioDecimal(kAssumedServiceFactor) +
             " taken, the low end of the 1.5 to 2.0 that " + std::string(kServiceFactorSource) +
             " recommends for small-pitch synchronous drives";
  }
  return "";
}

DriveText DriveTextOf(const DriveRequest& request, Units units, const DriveSolution& solution,
                      const LoadSolution* load) {
  const int decimals = units.decimals();
  const PulleyPair& pair = request.pulleys;
  unsigned all = 0;
  for (const DriveRow& row : solution.rows) all |= row.warnings;
  DriveText drive;
  drive.unit = units.name();
  drive.tipMarked = (all & static_cast<unsigned>(DriveWarning::OffsetUnconfirmed)) != 0;
  drive.ratio = std::to_string(solution.ratioDriven) + "/" + std::to_string(solution.ratioDriving) +
                " (" + ratioDecimal(static_cast<double>(pair.z2) / static_cast<double>(pair.z1)) +
                ")";
  drive.heading = std::string(pair.profile->name) + " drive: " + std::to_string(pair.z1) + " and " +
                  std::to_string(pair.z2) + " teeth, ratio " + drive.ratio;
  const double pitchDiameters[] = {solution.D1, solution.D2};
  const double tipDiameters[] = {solution.Da1, solution.Da2};
  const long teeth[] = {pair.z1, pair.z2};
  drive.tipsKnown = solution.tipsKnown;
  drive.kzNamed = load != nullptr && load->rating->kind != RatingKind::None;
  for (int i = 0; i < 2; ++i) {
    drive.pitchDiameter[i] = flooredText(units.of(pitchDiameters[i]), decimals);
    if (drive.tipsKnown) drive.tipDiameter[i] = flooredText(units.of(tipDiameters[i]), decimals);
    drive.pulleys[i] = "pulley " + std::to_string(i + 1) + ": " + std::to_string(teeth[i]) +
                       " teeth, D " + drive.pitchDiameter[i] + " " + drive.unit +
                       (drive.tipsKnown ? ", Da " + drive.tipDiameter[i] + " " + drive.unit +
                                              (drive.tipMarked ? "*" : "")
                                        : ", Da not published (no source gives u)");
  }
  for (const DriveRow& row : solution.rows) {
    const bool stock = row.kind == "shorter" || row.kind == "longer" || row.kind == "exact";
    const std::string change = fixedText(units.of(row.centreChange), decimals);
    drive.rows.push_back({std::string(row.kind), fixedText(units.of(row.centre), decimals),
                          !stock ? "" : (change[0] == '-' ? change : "+" + change),
                          fixedText(units.of(row.length), decimals), beltTeethText(row.beltTeeth),
                          fixedText(row.wrap1, 1), fixedText(row.wrap2, 1),
                          std::to_string(row.mesh1), std::to_string(row.mesh2)});
  }
  for (const DriveWarning warning : kDriveWarnings) {
    if ((all & static_cast<unsigned>(warning)) == 0) continue;
    std::string rows;
    for (const DriveRow& row : solution.rows) {
      if (row.has(warning)) rows += (rows.empty() ? "" : ", ") + std::string(row.kind);
    }
    const bool everyRow = std::all_of(solution.rows.begin(), solution.rows.end(),
                                      [&](const DriveRow& row) { return row.has(warning); });
    drive.notes.push_back({warning, everyRow ? std::string() : rows});
    std::string line = warning == DriveWarning::OffsetUnconfirmed ? "* " : "warning: ";
    line += DriveWarningId(warning);
    if (!everyRow) line += " (" + rows + ")";
    line += ": " + DriveWarningText(warning, *pair.profile);
    if (warning == DriveWarning::FewTeethInMesh && drive.kzNamed)
      line += "; its rating is cut by Kz, 0.2 for each tooth under 6";
    drive.warnings.push_back(std::move(line));
  }
  return drive;
}

std::string DriveFailureText(const DriveRequest& request, Units units,
                             const DriveFailure& failure) {
  const int decimals = units.decimals();
  const std::string unit = std::string(" ") + units.name();
  if (failure.kind == DriveFailure::CentreTooSmall) {
    return "centre distance " + fixedText(units.of(request.value), decimals) + unit +
           " is too small for these pulleys: it must be more than " +
           fixedText(units.of(failure.limit), decimals) + unit +
           ", half the difference of their pitch diameters";
  }
  const double length = request.given == DriveGiven::BeltTeeth
                            ? request.value * request.pulleys.profile->pitch
                            : request.value;
  const std::string belt = request.given == DriveGiven::BeltTeeth
                               ? "a belt of " + fixedText(request.value, 0) + " teeth (" +
                                     fixedText(units.of(length), decimals) + unit + ")"
                               : "a belt of " + fixedText(units.of(length), decimals) + unit;
  return belt + " cannot be fitted on these pulleys: it must be longer than " +
         fixedText(units.of(failure.limit), decimals) + unit +
         ", the larger pulley's pitch circumference";
}

}  // namespace korvale::report
