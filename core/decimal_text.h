#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Doubles written as decimal text by the program's own exact arithmetic, exactly as the standard
// library's std::to_chars writes them (whose floating-point part brings some 190 KB of tables
// into every statically linked Windows program): the same digits, correctly rounded from the
// binary value, ties to even, and the same forms. Locale-free. NaN is "nan", infinities "inf"
// and "-inf".
namespace korvale {

// The shortest text that reads back as x, in fixed or exponent form, whichever is shorter
// (fixed on a tie): 124.77747538404594, 4 -> "4", 1e+20 -> "1e+20", 0.0001 -> "0.0001",
// -0.0 -> "-0".
std::string ShortestText(double x);

// Fixed with this many decimals (0 to 30): (2238.873225, 2) -> "2238.87", (0.125, 2) -> "0.12",
// (-0.001, 2) -> "-0.00".
std::string FixedText(double x, int decimals);

// As printf's %.{precision}g (1 to 17 digits): (31.829999999999998, 15) -> "31.83",
// (1.5915494307111402e308, 15) -> "1.59154943071114e+308", (1e-05, 15) -> "1e-05".
std::string GeneralText(double x, int precision);

// In exponent form with this many digits after the point (0 to 30): (0.37500000000000006, 14)
// -> "3.75000000000000e-01".
std::string ScientificText(double x, int decimals);

// And back: the double nearest to digits × 10^scale (digits: decimal digits, any number of them,
// the first not 0), ties to even; 0 below what a double can tell from 0; nothing for a value too
// large for a double. ("1", 308) -> nothing, ("2675", -3) -> 2.675.
std::optional<double> NearestDouble(std::string_view digits, std::int64_t scale);

// Reads the number the text begins with, as std::from_chars does in its general format but for
// its "inf" and "nan": an optional "-", digits with at most one "." among them, an optional
// exponent ("e" or "E", an optional sign, digits). The count of characters read, 0 where no number
// begins; `value` is the nearest double, unless the number is too large for one, which `tooLarge`
// then tells. ("600.5mm") -> 5, 600.5; ("-") -> 0; ("1e999") -> 5, too large.
std::size_t ReadNumber(std::string_view text, double& value, bool& tooLarge);

}  // namespace korvale
