#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/belt_profiles.h"

namespace korvale {

// How a profile's belts are rated.
enum class RatingKind {
  None,           // no public rating: the user compares with the maker's datasheet
  PowerFormula,   // the standard's horsepower formula at a reference width, a width factor else
  TorqueFormula,  // the standard's torque formula, one per stock width
};

// Qr = Kz·d·(a − b·d²) lbf·in at this width (inches), d the small pulley's pitch diameter (in).
struct TorqueFormula {
  double width;
  double a;
  double b;
};

// What is published about the belts of one profile: their stock widths, their rating, their mass
// and the speed their rating holds to, each with its source. Widths are in the profile's width
// unit: inches for the inch profiles, millimetres for the rest.
struct BeltRating {
  std::string_view profile;
  std::array<double, 6> widths{};  // narrowest first
  std::size_t widthCount = 0;
  std::string_view widthSource;  // empty where no stock widths are published
  RatingKind kind = RatingKind::None;
  // PowerFormula: HP = Kz·d·(n/1000)·(a·Kw − (w/w0)·b·(d·n/1000)²) at width w, d the small
  // pulley's pitch diameter (in), n its speed (rpm), Kw the width factor, w0 `referenceWidth`.
  double referenceWidth = 0;
  double a = 0;
  double b = 0;
  std::array<TorqueFormula, 3> torque{};  // TorqueFormula
  std::string_view ratingSource;
  double speedLimit = 0;  // m/s up to which the rating holds; 0 where none is published
  // Mass per metre of belt (kg/m) at `massWidth`, for a TorqueFormula or unrated profile; a
  // PowerFormula's mass follows from its centrifugal term b. 0 where none is published.
  double massPerMetre = 0;
  double massWidth = 0;
  std::string_view massSource;

  bool inchWidths() const;
  bool hasStockWidths() const { return widthCount > 0; }
  // The stock width a typed width means, or nothing. An inch width may be typed as its nominal
  // fraction or as its width code's hundredths: XL 0.31 -> 0.3125, MXL 0.19 -> 0.1875.
  std::optional<double> stockWidth(double typed) const;
};

const BeltRating& BeltRatingOf(const BeltProfile& profile);

// The rating's width factor Kw = (w/w0)^1.14: 1 at the reference width.
double WidthFactor(double width, double referenceWidth);

// The teeth-in-mesh factor Kz: 1 from 6 teeth in mesh, 0.2 less for each tooth fewer, down to
// 0.2 at 2 teeth; nothing below 2, where the standard's table ends.
inline std::optional<double> TeethInMeshFactor(long teethInMesh) {
  if (teethInMesh >= 6) return 1;
  if (teethInMesh < 2) return std::nullopt;
  constexpr double kFactors[] = {0.2, 0.4, 0.6, 0.8};  // 2 to 5 teeth, as the table gives them
  return kFactors[teethInMesh - 2];
}

// The rated power (kW) at this width of a rated profile, for the small pulley of `diameter` mm at
// `rpm`, with `kz` teeth-in-mesh factor; nothing for an unrated profile or a width the torque
// formulas do not cover. Can be zero or less at speeds where the belt's own mass takes all.
std::optional<double> RatedPower(const BeltRating& rating, double width, double diameter,
                                 double rpm, double kz);

// The belt's mass per metre (kg/m) at this width, where published.
std::optional<double> BeltMassPerMetre(const BeltRating& rating, double width);

// The width unit's millimetres: 25.4 for inches, 1 for millimetres.
inline double WidthUnitMillimetres(const BeltRating& rating) {
  return rating.inchWidths() ? 25.4 : 1.0;
}

}  // namespace korvale
