#pragma once

#include <string>
#include <string_view>

namespace korvale {

// The divisor of the pitch circle: the ten-digit constant the trade's tables use, not full π.
inline constexpr double kPitchCircleDivisor = 3.141592654;

// D and Da by the window's rule (its divisor), not yet floored: (20, 5, 0.57) -> {31.830988...,
// 30.690988...}. Throws the overflow RuntimeError when the quotient does not fit a double.
struct PulleyDiameters {
  double pitchCircle;
  double tipCircle;
};
PulleyDiameters WindowDiameters(double teeth, double pitch, double pitchLineOffset);

// The two result texts of one recompute, as the result boxes show them.
struct DiameterTexts {
  std::string pitchCircle;  // D, shown in Text1(0)
  std::string tipCircle;    // Da, shown in Text1(1)
};

// The recompute: D = teeth × pitch / 3.141592654 and Da = D − 2 × the selected profile's
// pitch-line offset, each floored to two decimals and written as text.
//   ("20", "5M", 1) -> {"31.83", "30.69"}    ("20", "5M", -1) -> {"31.83", "31.83"}
//   ("1E308", "5M", 1) -> both "1.59154943071114E+308" (the product passes the double range, the
//   quotient does not)
// The pitch is the leading number of the pitch text ("14M" -> 14, "6" -> 6). selectedIndex is the
// pitch list's selection, -1 for none; anything outside -1..3 counts as none. PitchDia receives
// the working value (D, then Da). Throws the overflow RuntimeError, before touching PitchDia, when
// a text's number or the quotient does not fit a double ("1E308" with "14M").
DiameterTexts ComputeDiameters(std::string_view teethText, std::string_view pitchText,
                               int selectedIndex, double& PitchDia);

}  // namespace korvale
