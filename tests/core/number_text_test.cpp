#include "core/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

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

// The reference works from the double's exact value, not from any library conversion: a double
// is m × 2^e with whole m, so it is the whole number m × 2^e, or m × 5^-e shifted -e places to
// the right of the point. Those digits come from a small big-integer product, are rounded to 15
// significant digits (half to even, as the exact value gives no other ties), and are written out.
std::string reference(double x) {
  int e = 0;
  const double fraction = std::frexp(std::fabs(x), &e);
  auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  e -= 53;
  constexpr std::uint64_t kBase = 1000000000;  // nine decimal digits a limb, lowest first
  std::vector<std::uint64_t> limbs;
  for (; m > 0; m /= kBase) limbs.push_back(m % kBase);
  auto multiply = [&limbs](std::uint64_t by) {
    std::uint64_t carry = 0;
    for (std::uint64_t& limb : limbs) {
      const std::uint64_t product = limb * by + carry;
      limb = product % kBase;
      carry = product / kBase;
    }
    for (; carry > 0; carry /= kBase) limbs.push_back(carry % kBase);
  };
  for (int left = std::abs(e); left > 0; left -= 13) {
    const int step = std::min(left, 13);
    multiply(e >= 0 ? (std::uint64_t{1} << step) : static_cast<std::uint64_t>(std::pow(5, step)));
  }
  std::string digits = std::to_string(limbs.back());
  for (std::size_t i = limbs.size() - 1; i-- > 0;) {
    const std::string limb = std::to_string(limbs[i]);
    digits += std::string(9 - limb.size(), '0') + limb;
  }
  int exponent = static_cast<int>(digits.size()) - 1 + std::min(e, 0);

  if (digits.size() > 15) {
    const bool restIsZero = digits.find_first_not_of('0', 16) == std::string::npos;
    const bool up =
        digits[15] > '5' || (digits[15] == '5' && (!restIsZero || (digits[14] - '0') % 2));
    digits.resize(15);
    for (std::size_t i = 15; up && i-- > 0;) {
      if (digits[i] != '9') {
        ++digits[i];
        break;
      }
      digits[i] = '0';
      if (i == 0) {
        digits.insert(0, 1, '1');
        digits.pop_back();
        ++exponent;
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text;
  if (exponent >= 15 || exponent < -4) {
    text = digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "") +
           (exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(exponent));
  } else if (exponent < 0) {
    text = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    digits.resize(std::max(digits.size(), static_cast<std::size_t>(exponent) + 1), '0');
    const std::string fractionDigits = digits.substr(static_cast<std::size_t>(exponent) + 1);
    text = digits.substr(0, static_cast<std::size_t>(exponent) + 1) +
           (fractionDigits.empty() ? "" : "." + fractionDigits);
  }
  return x < 0 ? "-" + text : text;
}

TEST(NumberText, MatchesTheExactValueRoundedOnRandomDoubles) {
  std::mt19937_64 random(31830);
  for (int i = 0; i < 40000; ++i) {
    double x = 0;
    if (i % 8 == 0) {  // anywhere in the double range
      const std::uint64_t bits = random();
      std::memcpy(&x, &bits, sizeof x);
    } else {  // near two decimals, where the calculation's results live
      x = static_cast<double>(static_cast<std::int64_t>(random() % 2000000) - 1000000) / 100;
    }
    if (!std::isfinite(x) || x == 0) continue;
    ASSERT_EQ(NumberText(x), reference(x)) << std::hexfloat << x;
  }
}

}  // namespace
}  // namespace korvale
