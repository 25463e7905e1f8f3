#include "core/belt_ratings.h"

#include <cmath>

namespace korvale {
namespace {

constexpr double kWattsPerHorsepower = 745.69987158227022;        // 550 ft·lbf/s, exactly
constexpr double kNewtonMetresPerPoundInch = 0.1129848290276167;  // 4.4482216152605 N × 0.0254 m
constexpr double kPi = 3.14159265358979323846;

// Sources (figures read in them, page by page):
// - [IP-24] ANSI/RMA IP-24 (with ISO 5299 and IS 9804) as quoted by engineersedge.com, "Horsepower
//   Rating Synchronous Timing Belt Equations" and "Torque Rating Synchronous Timing Belt
//   Equation": the formulas below, "for a belt of specified width having six or more teeth in
//   mesh and a pulley surface speed of 6500 fpm or less", and the teeth-in-mesh factors 1, 0.8,
//   0.6, 0.4, 0.2 for 6 or more, 5, 4, 3, 2 teeth. York Industries' "Horsepower and Torque Rating
//   Formulas" page gives the same MXL torque formulas. The standard itself was not at hand.
//     XL (0.38 in)  a 0.0916  b 7.07e-5     L (1.00)  a 0.436  b 3.01e-4
//     H (3.00)      a 3.73    b 1.41e-3     XH (4.00) a 7.21   b 4.68e-3
//     XXH (5.00)    a 11.4    b 7.81e-3
//     MXL: Qr = d(1.13 − 1.38e-3 d²) at 0.12 in, d(1.88 − 2.30e-3 d²) at 0.19, d(2.63 − 3.21e-3 d²)
//     at 0.25 (lbf·in). Their ratios, 1.66 and 2.33, follow the width factor below.
// - [GB] GB/T 11362-2008, the Chinese equivalent standard, as quoted at second hand (the standard
//   itself was not at hand): width factor Kw = (b/b0)^1.14, and 0.007 kg/m for an MXL belt 6.4 mm
//   wide. Its allowable tensions per reference width (XL 50.17 N, L 244.46, H 2100.85, XH 4048.9,
//   XXH 6398.03) and masses (XL 0.022 kg/m, L 0.095, H 0.448, XH 1.484, XXH 2.473) are the IP-24
//   formulas' own to within 0.5% (XL 2.5%), which is what the tests hold them to.
// - [ZRP] Optibelt, technical manual for polyurethane timing belt drives (ZRP), Table 5.13 "Width
//   tolerances", p. 51: MXL 012 019 025; XL 025 031 037; L 050 075 100; H 075 200 300; XH 200
//   300 400 (width codes, hundredths of an inch); T2.5 4 6 10; T5 6 10 16 25; T10 16 25 32 50;
//   T20 32 50 75 100; AT5 6 10 16 25; AT10 16 25 32 50; AT20 32 50 75 100 (mm).
// - [ISO 13050] transbelting.com, HTD timing belts, "Table 2 Widths and width tolerances" (the
//   ISO 13050 widths): 3M 6 9 15; 5M 9 15 25; 8M 20 30 50 85; 14M 40 55 85 115 170; 20M 115 170
//   230 290 340 (mm).
// - XXH: only the 5.00 in of its IP-24 formula is a width any source at hand names.
// No public source at hand gives a rating table, a belt mass or a speed limit for the HTD,
// GT2-type, T and AT belts, nor stock widths for the GT2-type belts: none is given here.
constexpr const char* kIp24 = "ANSI/RMA IP-24 rating formula (quoted by engineersedge.com)";
constexpr const char* kIp24Torque = "ANSI/RMA IP-24 torque formula (quoted by engineersedge.com)";
constexpr const char* kZrp = "Optibelt ZRP manual, Table 5.13, p. 51";
constexpr const char* kIso13050 = "ISO 13050 widths (transbelting.com, Table 2)";
constexpr double kIp24SpeedLimit = 6500 * 0.3048 / 60;  // 6500 ft/min in m/s

constexpr BeltRating powerRated(std::string_view name, std::array<double, 6> widths,
                                std::size_t count, std::string_view widthSource,
                                double referenceWidth, double a, double b) {
  BeltRating rating;
  rating.profile = name;
  rating.widths = widths;
  rating.widthCount = count;
  rating.widthSource = widthSource;
  rating.kind = RatingKind::PowerFormula;
  rating.referenceWidth = referenceWidth;
  rating.a = a;
  rating.b = b;
  rating.ratingSource = kIp24;
  rating.speedLimit = kIp24SpeedLimit;
  return rating;
}

constexpr BeltRating unrated(std::string_view name, std::array<double, 6> widths, std::size_t count,
                             std::string_view widthSource) {
  BeltRating rating;
  rating.profile = name;
  rating.widths = widths;
  rating.widthCount = count;
  rating.widthSource = widthSource;
  return rating;
}

constexpr BeltRating mxl() {
  BeltRating rating;
  rating.profile = "MXL";
  rating.widths = {0.125, 0.1875, 0.25};
  rating.widthCount = 3;
  rating.widthSource = kZrp;
  rating.kind = RatingKind::TorqueFormula;
  rating.torque = {{{0.125, 1.13, 1.38e-3}, {0.1875, 1.88, 2.30e-3}, {0.25, 2.63, 3.21e-3}}};
  rating.ratingSource = kIp24Torque;
  rating.speedLimit = kIp24SpeedLimit;
  rating.massPerMetre = 0.007;
  rating.massWidth = 6.4 / 25.4;
  rating.massSource = "GB/T 11362-2008 (quoted at second hand)";
  return rating;
}

// One row per catalogue profile, in the catalogue's order; constant data, built by the compiler.
constexpr std::array<BeltRating, kBeltProfileCount> kRatings = {{
    //        name    stock widths                     count  widths from
    unrated("3M", {6, 9, 15}, 3, kIso13050),
    unrated("5M", {9, 15, 25}, 3, kIso13050),
    unrated("8M", {20, 30, 50, 85}, 4, kIso13050),
    unrated("14M", {40, 55, 85, 115, 170}, 5, kIso13050),
    unrated("20M", {115, 170, 230, 290, 340}, 5, kIso13050),
    unrated("2GT", {}, 0, ""),
    unrated("3GT", {}, 0, ""),
    unrated("5GT", {}, 0, ""),
    unrated("T2.5", {4, 6, 10}, 3, kZrp),
    unrated("T5", {6, 10, 16, 25}, 4, kZrp),
    unrated("T10", {16, 25, 32, 50}, 4, kZrp),
    unrated("T20", {32, 50, 75, 100}, 4, kZrp),
    unrated("AT5", {6, 10, 16, 25}, 4, kZrp),
    unrated("AT10", {16, 25, 32, 50}, 4, kZrp),
    unrated("AT20", {32, 50, 75, 100}, 4, kZrp),
    mxl(),
    //         name  stock widths (in)           count  widths from  w0     a       b
    powerRated("XL", {0.25, 0.3125, 0.375}, 3, kZrp, 0.375, 0.0916, 7.07e-5),
    powerRated("L", {0.5, 0.75, 1}, 3, kZrp, 1, 0.436, 3.01e-4),
    powerRated("H", {0.75, 2, 3}, 3, kZrp, 3, 3.73, 1.41e-3),
    powerRated("XH", {2, 3, 4}, 3, kZrp, 4, 7.21, 4.68e-3),
    powerRated("XXH", {5}, 1, "ANSI/RMA IP-24 (quoted by engineersedge.com)", 5, 11.4, 7.81e-3),
}};

}  // namespace

bool BeltRating::inchWidths() const {
  return FindBeltProfile(profile)->family == "inch";
}

std::optional<double> BeltRating::stockWidth(double typed) const {
  // A width code is the width in hundredths of an inch, rounded: never more than 0.0063 in from
  // the nominal fraction, while stock widths lie 0.0625 in apart or more.
  const double slack = inchWidths() ? 0.0063 : 0;
  for (std::size_t i = 0; i < widthCount; ++i) {
    if (std::fabs(widths[i] - typed) <= slack) return widths[i];
  }
  return std::nullopt;
}

const BeltRating& BeltRatingOf(const BeltProfile& profile) {
  return kRatings[static_cast<std::size_t>(&profile - BeltProfiles.data())];
}

double WidthFactor(double width, double referenceWidth) {
  return width == referenceWidth ? 1 : std::pow(width / referenceWidth, 1.14);
}

namespace {

// Kw at each stock width of every profile, worked out once: a solve at a stock width (the usual
// case) then costs no power function.
using StockWidthFactors = std::array<std::array<double, 6>, kBeltProfileCount>;
const StockWidthFactors kStockWidthFactors = [] {
  StockWidthFactors factors{};
  for (std::size_t p = 0; p < kBeltProfileCount; ++p) {
    if (kRatings[p].kind != RatingKind::PowerFormula) continue;
    for (std::size_t i = 0; i < kRatings[p].widthCount; ++i) {
      factors[p][i] = WidthFactor(kRatings[p].widths[i], kRatings[p].referenceWidth);
    }
  }
  return factors;
}();

// Kw at a width: a stock width's worked out once, any other's now.
double widthFactorOf(const BeltRating& rating, double width) {
  const auto& factors = kStockWidthFactors[static_cast<std::size_t>(&rating - kRatings.data())];
  for (std::size_t i = 0; i < rating.widthCount; ++i) {
    if (rating.widths[i] == width) return factors[i];
  }
  return WidthFactor(width, rating.referenceWidth);
}

}  // namespace

std::optional<double> RatedPower(const BeltRating& rating, double width, double diameter,
                                 double rpm, double kz) {
  const double d = diameter / 25.4;
  switch (rating.kind) {
    case RatingKind::None:
      return std::nullopt;
    case RatingKind::PowerFormula: {
      const double speed = d * rpm / 1000;
      const double horsepower = kz * d * (rpm / 1000) *
                                (rating.a * widthFactorOf(rating, width) -
                                 width / rating.referenceWidth * rating.b * speed * speed);
      return horsepower * kWattsPerHorsepower / 1000;
    }
    case RatingKind::TorqueFormula:
      for (const TorqueFormula& formula : rating.torque) {
        if (std::fabs(formula.width - width) > 0.0063) continue;
        const double torque = kz * d * (formula.a - formula.b * d * d) * kNewtonMetresPerPoundInch;
        return torque * 2 * kPi * rpm / 60 / 1000;
      }
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<double> BeltMassPerMetre(const BeltRating& rating, double width) {
  if (rating.kind == RatingKind::PowerFormula) {
    // The formula's centrifugal term is the power m·v³ that the belt's own mass takes: with the
    // belt speed v = π·d·n/60 (d in metres), b·(d·n)³/10⁹ horsepower is m·v³ watts.
    constexpr double kMetresPerSecondPerInchRpm = kPi * 0.0254 / 60;
    constexpr double kCube =
        kMetresPerSecondPerInchRpm * kMetresPerSecondPerInchRpm * kMetresPerSecondPerInchRpm;
    return width / rating.referenceWidth * rating.b * kWattsPerHorsepower / (1e9 * kCube);
  }
  if (rating.massPerMetre == 0) return std::nullopt;
  return rating.massPerMetre * width / rating.massWidth;
}

}  // namespace korvale
