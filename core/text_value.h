#pragma once

#include <string_view>

namespace korvale {

// Reads the number at the start of a text, leniently: no text is ever rejected.
//
//   "20" -> 20     "5M" -> 5     "14M" -> 14     "" -> 0     "M5" -> 0     "3,5" -> 3
//   " 2 0" -> 20   "- 2 0 . 5" -> -20.5           "1.5.2" -> 1.5            "5E" -> 5
//   "1E308" -> 1E+308     "1E-99999" -> 0     "0E99999" -> 0
//
// Spaces, tabs and line feeds are skipped anywhere in the scanned part. The grammar is an optional
// sign, digits with at most one period, and an optional exponent ("E" or "e", an optional sign, at
// least one digit). The period is the decimal separator whatever the locale. Only decimal numbers
// are read: the radix prefixes "&H" and "&O" are not numbers here ("&H1F" -> 0), and "D" is not an
// exponent letter ("2D3" -> 2); nothing the program writes or offers uses them.
//
// The result is the correctly rounded nearest double of the decimal read, however many digits it
// has (a pasted number of a million digits included); a value too small for a double becomes a
// subnormal or zero. Throws the overflow RuntimeError when the value rounds beyond the largest
// double ("1E400", "1E99999").
double TextValue(std::string_view text);

}  // namespace korvale
