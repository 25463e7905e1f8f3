#include "core/number_text.h"

#include <cmath>

#include "core/decimal_text.h"

namespace korvale {

// printf's %.15g rules, correctly rounded: plain decimals for rounded magnitudes from 1E-4 to below
// 1E+15, exponent form otherwise, trailing zeros dropped. Its exponent ("1e-05", "1.5e+308") is
// written as the program always wrote it: capital E, sign, no leading zeros ("1E-5", "1.5E+308").
std::string NumberText(double x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  if (x == 0) return "0";  // negative zero too
  const std::string text = GeneralText(x, 15);
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text;
  std::size_t exponent = e + 2;
  while (exponent + 1 < text.size() && text[exponent] == '0') ++exponent;
  return text.substr(0, e) + "E" + text[e + 1] + text.substr(exponent);
}

}  // namespace korvale
