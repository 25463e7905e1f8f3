#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace korvale {
namespace {

constexpr int kSignificantDigits = 15;
// Rounded magnitudes from 10^kSmallestPlainExponent to below 10^kFirstExponentFormExponent are
// written in plain decimal form.
constexpr int kFirstExponentFormExponent = 15;
constexpr int kSmallestPlainExponent = -4;

// x rounded to 15 significant digits: the digits without trailing zeros, and the decimal exponent
// of the first one. 31.829999999999998 -> {"3183", 1}.
struct RoundedDecimal {
  std::string digits;
  int exponent = 0;
};

RoundedDecimal roundTo15Digits(double magnitude) {
  // "d.dddddddddddddde+XXX" is at most 22 characters.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = text.find('e');

  RoundedDecimal rounded;
  for (char c : text.substr(0, e)) {
    if (c != '.') rounded.digits.push_back(c);
  }
  while (rounded.digits.size() > 1 && rounded.digits.back() == '0') rounded.digits.pop_back();
  const std::string_view exponentText = text.substr(e + 1);
  const char* first = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
  std::from_chars(first, exponentText.data() + exponentText.size(), rounded.exponent);
  return rounded;
}

std::string exponentForm(const RoundedDecimal& r) {
  std::string text(1, r.digits[0]);
  if (r.digits.size() > 1) {
    text.push_back('.');
    text.append(r.digits, 1);
  }
  text += r.exponent < 0 ? "E-" : "E+";
  text += std::to_string(std::abs(r.exponent));
  return text;
}

std::string plainForm(const RoundedDecimal& r) {
  const auto digitCount = static_cast<int>(r.digits.size());
  if (r.exponent < 0) {
    return "0." + std::string(static_cast<std::size_t>(-r.exponent - 1), '0') + r.digits;
  }
  const int integerDigits = r.exponent + 1;
  if (digitCount <= integerDigits) {
    return r.digits + std::string(static_cast<std::size_t>(integerDigits - digitCount), '0');
  }
  const auto split = static_cast<std::size_t>(integerDigits);
  return r.digits.substr(0, split) + "." + r.digits.substr(split);
}

}  // namespace

std::string NumberText(double x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  if (x == 0) return "0";

  const RoundedDecimal rounded = roundTo15Digits(std::fabs(x));
  const bool plain =
      rounded.exponent >= kSmallestPlainExponent && rounded.exponent < kFirstExponentFormExponent;
  std::string text = plain ? plainForm(rounded) : exponentForm(rounded);
  if (x < 0) text.insert(0, 1, '-');
  return text;
}

}  // namespace korvale
