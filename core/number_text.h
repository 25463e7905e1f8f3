#pragma once

#include <string>

namespace korvale {

// Writes a Number as a result box shows it: the exact binary value rounded (correctly) to 15
// significant digits, without trailing zeros, with "." as the decimal separator.
//
//   31.829999999999998 -> "31.83"   -1.14 -> "-1.14"   0.95 -> "0.95"   30 -> "30"   -0.0 -> "0"
//   999999999999999.4 -> "999999999999999"   999999999999999.6 -> "1E+15"
//   1.5915494307111402E+308 -> "1.59154943071114E+308"   0.00001 -> "1E-5"
//
// The plain form is used for rounded magnitudes from 1E-4 up to, not including, 1E15; beyond
// either end the exponent form "d.dddE+x" / "d.dddE-x" (no leading zeros in the exponent).
// Infinities and NaN, which the calculation never produces, are written "inf", "-inf", "nan".
std::string NumberText(double x);

}  // namespace korvale
