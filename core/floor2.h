#pragma once

namespace korvale {

// x floored (toward minus infinity) to two decimals: floor(x × 100) / 100, each step rounded to a
// double. 31.830988 -> 31.83, -31.830988 -> -31.84 (not -31.83: this is not truncation).
// No correction for binary representation is made: 0.29 gives 0.28, because 0.29 × 100 is
// 28.999999999999996 in doubles. x × 100 is taken without an upper exponent limit, so a finite x
// never overflows (1.5915494307111402E+308 comes back unchanged).
double Floor2(double x);

}  // namespace korvale
