#include "core/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace korvale {
namespace {

TEST(NumberText, WritesFifteenDigitsWithoutTrailingZeros) {
  using limits = std::numeric_limits<double>;
  // clang-format off
  const std::pair<double, const char*> cases[] = {
      {31.829999999999998, "31.83"}, {50.920000000000002, "50.92"}, {36.6, "36.6"}, {30, "30"},
      {1, "1"}, {-1, "-1"}, {0, "0"}, {-0.0, "0"}, {-1.14, "-1.14"}, {0.95, "0.95"}, {-0.76, "-0.76"},
      {0.1 + 0.2, "0.3"}, {123456789012345, "123456789012345"}, {999999999999999.4, "999999999999999"},
      {999999999999999.6, "1E+15"}, {1e15, "1E+15"}, {-1234567890123456, "-1.23456789012346E+15"},
      {1e100, "1E+100"}, {1.5915494307111402E+308, "1.59154943071114E+308"},
      {limits::max(), "1.79769313486232E+308"}, {0.0001, "0.0001"}, {0.000099999999999999995, "0.0001"},
      {0.00001, "1E-5"}, {-2.5e-300, "-2.5E-300"}, {limits::denorm_min(), "4.94065645841247E-324"},
      {limits::infinity(), "inf"}, {-limits::infinity(), "-inf"}, {limits::quiet_NaN(), "nan"}};
  // clang-format on
  for (const auto& [value, text] : cases)
    EXPECT_EQ(NumberText(value), text) << std::hexfloat << value;
}

}  // namespace
}  // namespace korvale
