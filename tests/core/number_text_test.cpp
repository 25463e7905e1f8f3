#include "core/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace korvale {
namespace {

TEST(NumberText, WritesFifteenDigitsWithoutTrailingZeros) {
  using limits = std::numeric_limits<double>;
  // clang-format off
  const std::pair<double, const char*> cases[] = {
      {31.829999999999998, "31.83"}, {50.920000000000002, "50.92"}, {36.6, "36.6"}, {30, "30"},
      {0, "0"}, {-0.0, "0"}, {-1.14, "-1.14"}, {0.95, "0.95"}, {-0.76, "-0.76"}, {0.1 + 0.2, "0.3"},
      {123456789012345, "123456789012345"}, {999999999999999.4, "999999999999999"},
      {999999999999999.6, "1E+15"}, {1e15, "1E+15"}, {-1234567890123456, "-1.23456789012346E+15"},
      {1.5915494307111402E+308, "1.59154943071114E+308"}, {limits::max(), "1.79769313486232E+308"},
      {0.0001, "0.0001"}, {0.000099999999999999995, "0.0001"}, {0.00001, "1E-5"},
      {-2.5e-300, "-2.5E-300"}, {limits::denorm_min(), "4.94065645841247E-324"},
      {limits::infinity(), "inf"}};
  // clang-format on
  for (const auto& [value, text] : cases)
    EXPECT_EQ(NumberText(value), text) << std::hexfloat << value;
}

// The reference is the standard library's "%.15g"-style general format, which rounds the same
// way and switches form at the same magnitudes; only its exponent spelling differs ("e+15" for
// "E+15", "e-05" for "E-5").
std::string reference(double x) {
  char buffer[64];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 15).ptr;
  std::string text(buffer, end);
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text == "-0" ? "0" : text;
  std::size_t digits = e + 2;
  while (digits + 1 < text.size() && text[digits] == '0') ++digits;
  return text.substr(0, e) + "E" + text[e + 1] + text.substr(digits);
}

TEST(NumberText, MatchesTheGeneralFormatOnRandomDoubles) {
  std::mt19937_64 random(31830);
  for (int i = 0; i < 300000; ++i) {
    double x = 0;
    if (i % 2 == 0) {
      const std::uint64_t bits = random();
      std::memcpy(&x, &bits, sizeof x);
    } else {  // near two decimals, where the calculation's results live
      x = static_cast<double>(static_cast<std::int64_t>(random() % 2000000) - 1000000) / 100;
    }
    if (!std::isfinite(x)) continue;
    ASSERT_EQ(NumberText(x), reference(x)) << std::hexfloat << x;
  }
}

}  // namespace
}  // namespace korvale
