#include "report/load_text.h"

#include "report/number_format.h"

namespace korvale::report {
namespace {

std::string optionalFixed(const std::optional<double>& x, int decimals) {
  return x ? fixedText(*x, decimals) : std::string();
}

}  // namespace

LoadText LoadTextOf(Units units, const LoadSolution& load, const DriveSolution& solution) {
  const BeltRating& rating = *load.rating;
  LoadText text;
  text.power = readableText(load.power, 3);
  text.designPower = readableText(load.designPower, 3);
  text.serviceFactor = readableText(load.serviceFactor, 3);
  text.serviceFactorAssumed = load.serviceFactorAssumed;
  text.rpm1 = readableText(load.rpm1, 2);
  text.rpm2 = readableText(load.rpm2, 2);
  text.torque1 = fixedText(load.torque1, 2);
  text.torque2 = fixedText(load.torque2, 2);
  text.speed = fixedText(load.speed, 2);
  text.pull = fixedText(load.pull, 1);
  text.runningPull = fixedText(load.runningPull, 1);
  text.rated = rating.kind != RatingKind::None;
  text.widthGiven = load.widthGiven;
  text.widthUnit = rating.inchWidths() ? "in" : "mm";
  text.lengthUnit = units.name();
  text.ratingSource = std::string(rating.ratingSource);
  text.widthSource = std::string(rating.widthSource);
  if (!text.rated) {
    const auto perWidth = [&](double width) {
      const double millimetres = width * WidthUnitMillimetres(rating);
      text.pullPerWidth.push_back(fixedText(load.pull / millimetres, 1) + " N/mm at " +
                                  shortestText(width) + " " + text.widthUnit);
    };
    if (load.widthGiven) {
      perWidth(*load.rows.front().width);
    } else {
      for (std::size_t i = 0; i < rating.widthCount; ++i) perWidth(rating.widths[i]);
    }
  }
  text.massKnown = true;
  double largestShortfall = 0;
  for (std::size_t i = 0; i < load.rows.size(); ++i) {
    const LoadRow& row = load.rows[i];
    if (row.shortfall && *row.shortfall > largestShortfall) {
      largestShortfall = *row.shortfall;
      text.shortfall = fixedText(*row.shortfall, 3) + " kW short at " + shortestText(*row.width) +
                       " " + text.widthUnit;
    }
    if (row.width && !row.massPerMetre) text.massKnown = false;
    const int decimals = units.decimals();
    text.rows.push_back(
        {std::string(solution.rows[i].kind), row.width ? shortestText(*row.width) : std::string(),
         optionalFixed(row.ratedPower, 3), optionalFixed(row.margin, 2),
         row.kz ? trimmedText(*row.kz, 1) : std::string(),
         row.massPerMetre ? trimmedText(*row.massPerMetre, 4) : std::string(),
         optionalFixed(row.tc, 1), optionalFixed(row.tStatic, 1), optionalFixed(row.tTight, 1),
         optionalFixed(row.tSlack, 1), fixedText(units.of(row.span), decimals),
         fixedText(units.of(row.deflection), decimals),
         row.deflectionForceMin
             ? fixedText(*row.deflectionForceMin, 1) + "-" + fixedText(*row.deflectionForceMax, 1)
             : std::string(),
         optionalFixed(row.frequency, 1), optionalFixed(row.hubStatic, 1),
         fixedText(row.hubRunning, 1)});
  }
  if (rating.kind == RatingKind::PowerFormula) {
    text.massSource = "from the rating's centrifugal term";
  } else if (rating.massPerMetre > 0) {
    text.massSource = std::string(rating.massSource);
  }
  return text;
}

std::vector<std::string> LoadLinesBefore(const LoadText& load) {
  std::vector<std::string> lines;
  lines.push_back("load: " + load.power + " kW at " + load.rpm1 +
                  " rpm on pulley 1, which turns pulley 2 at " + load.rpm2 + " rpm");
  lines.push_back("service factor " + load.serviceFactor +
                  (load.serviceFactorAssumed
                       ? " (assumed: " + std::string(kServiceFactorSource) + ")"
                       : std::string()) +
                  ", design power " + load.designPower + " kW");
  lines.push_back("torque " + load.torque1 + " Nm on pulley 1, " + load.torque2 +
                  " Nm on pulley 2; belt speed " + load.speed + " m/s");
  lines.push_back("effective pull " + load.pull + " N at the design power, " + load.runningPull +
                  " N at the power");
  if (!load.rated) {
    std::string perWidth;
    for (const std::string& figure : load.pullPerWidth) {
      perWidth += (perWidth.empty() ? "" : ", ") + figure;
    }
    lines.push_back("no public rating for this profile" +
                    (perWidth.empty() ? std::string(": no published stock widths")
                                      : ": effective pull per mm of width " + perWidth));
  } else {
    lines.push_back(load.widthGiven
                        ? "width as given"
                        : "width: the narrowest stock width that carries the design power");
  }
  if (!load.shortfall.empty()) {
    lines.push_back(
        (load.widthGiven || !load.rated ? "the width falls " : "no stock width carries it: ") +
        load.shortfall + "; go to a larger pitch or a larger small pulley");
  }
  return lines;
}

std::vector<std::string> LoadLinesAfter(const LoadText& load) {
  std::vector<std::string> lines;
  if (load.rated) {
    lines.push_back("rating: " + load.ratingSource +
                    "; width factor (b/b0)^1.14 of GB/T 11362-2008 (quoted at second hand)");
  }
  lines.push_back("stock widths: " + (load.widthSource.empty()
                                          ? std::string("none published for this profile")
                                          : load.widthSource));
  lines.push_back(
      load.massSource.empty()
          ? std::string("belt mass: no public figure, so no Tc, Tst, span tensions, test force, "
                        "frequency or standing hub load")
          : "belt mass: " + load.massSource);
  lines.push_back(
      "Tst = Te/2 + Tc, the least installation tension that keeps the slack span taut at the "
      "design power; tight and slack spans at the power itself");
  lines.push_back(
      "test: deflect each span 1/64 of its length at mid-span with the force given, Tst/16 to "
      "1.1 Tst/16 (SDP/SI D790 p. T-3 without its stiffness term (t/L)Y: no public Y); f: the "
      "span's frequency at Tst");
  lines.push_back("hub loads: the same on both shafts, running from the spans' tensions less Tc");
  return lines;
}

}  // namespace korvale::report
