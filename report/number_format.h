#pragma once

#include <string>

namespace korvale::report {

// Numbers as the command line writes them: always "." as the decimal point, whatever the locale.

// The shortest text that reads back to the same double: 124.77747474... -> "124.77747474045504",
// 4 -> "4", -0.0 -> "0".
void appendShortest(std::string& out, double x);

// Rounded (correctly, from the binary value) to a number of decimals: (2238.873225, 2) ->
// "2238.87", (-6.778841, 2) -> "-6.78". A result that rounds to zero drops its sign.
void appendFixed(std::string& out, double x, int decimals);

// The double nearest to x rounded to 15 significant decimal digits: 0.37500000000000006 -> 0.375.
double roundedTo15Digits(double x);

// Floored to a number of decimals, as the calculator window floors: (124.777475, 2) -> "124.77".
void appendFloored(std::string& out, double x, int decimals);

// The same as texts of their own.
std::string shortestText(double x);
std::string fixedText(double x, int decimals);
std::string flooredText(double x, int decimals);
// Rounded, without the zeros a figure does not need: (517.857, 2) -> "517.86", (1450, 2) -> "1450",
// (17/7, 4) -> "2.4286".
std::string trimmedText(double x, int decimals);
// The same, except that a figure too small for those decimals keeps four significant digits
// rather than read as 0: (0.000001, 3) -> "0.000001", (0.00012345, 3) -> "0.0001235",
// (0.7592, 3) -> "0.759".
std::string readableText(double x, int decimals);

}  // namespace korvale::report
