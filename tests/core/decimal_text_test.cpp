#include "core/decimal_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "tests/support/correctly_rounded.h"

namespace korvale {
namespace {

// What the standard library's std::to_chars writes: the reference the program's own conversion
// must match character for character.
std::string standard(double x, std::chars_format format, int precision) {
  char buffer[512];
  const char* end = precision < 0
                        ? std::to_chars(buffer, buffer + sizeof buffer, x).ptr
                        : std::to_chars(buffer, buffer + sizeof buffer, x, format, precision).ptr;
  return std::string(static_cast<const char*>(buffer), end);
}

void expectSameAsTheStandard(double x) {
  EXPECT_EQ(ShortestText(x), standard(x, std::chars_format::general, -1)) << x;
  for (const int precision : {1, 2, 3, 15, 17}) {
    EXPECT_EQ(GeneralText(x, precision), standard(x, std::chars_format::general, precision)) << x;
  }
  for (const int decimals : {0, 1, 2, 3, 14}) {
    EXPECT_EQ(ScientificText(x, decimals), standard(x, std::chars_format::scientific, decimals))
        << x;
    if (std::fabs(x) < 1e30) {
      EXPECT_EQ(FixedText(x, decimals), standard(x, std::chars_format::fixed, decimals)) << x;
    }
  }
}

// Ties (exact halves) round to even, as printf and to_chars do; carries add a digit; negative
// zero, the smallest and largest doubles, whole numbers beyond 2^53 written out in full.
TEST(DecimalText, WritesWhatTheStandardLibraryWrites) {
  for (const double x :
       {0.0,
        -0.0,
        0.5,
        1.5,
        2.5,
        0.125,
        0.375,
        -0.001,
        9.5,
        0.95,
        999.9996,
        1e20,
        1e21,
        1e22,
        1e23,
        0.0001,
        1e-5,
        5e-324,
        2.2250738585072014e-308,
        1.7976931348623157e308,
        124.77747538404594,
        31.829999999999998,
        1.5915494307111402e308,
        0.37500000000000006,
        2.675,
        1e15,
        123456789012345.0,
        53165205877497296.0,
        4503599627370496.0,
        1024.0,
        999999.99999999895,  // log10 rounds it up to 6: the first digit guessed wrong
        99999.999999999985,
        -9.9999999999999982}) {
    expectSameAsTheStandard(x);
  }
  EXPECT_EQ(FixedText(0.125, 2), "0.12");
  EXPECT_EQ(ShortestText(-0.0), "-0");
  std::mt19937_64 random(2026);
  std::uniform_int_distribution<std::uint64_t> bits;
  std::uniform_real_distribution<double> ordinary(-1e6, 1e6);
  for (int i = 0; i < 10000; ++i) {
    const std::uint64_t pattern = bits(random);
    double any = 0;
    std::memcpy(&any, &pattern, sizeof any);
    if (std::isfinite(any)) expectSameAsTheStandard(any);
    const double figure = ordinary(random);
    expectSameAsTheStandard(figure);
    expectSameAsTheStandard(std::round(figure * 100) / 100);
    expectSameAsTheStandard(std::ldexp(1.0, i % 2100 - 1074));
    if (HasFailure()) return;
  }
  EXPECT_EQ(ShortestText(std::nan("")), "nan");
  EXPECT_EQ(FixedText(-HUGE_VAL, 2), "-inf");
}

// Reading numbers back: what std::from_chars reads, character for character, to the correctly
// rounded double, but for its "inf" and "nan"; halfway points between doubles written out in full
// go to the even one; beyond the largest double is too large, below the smallest is 0.
TEST(DecimalText, ReadsWhatTheStandardLibraryReads) {
  const auto expectSame = [](const std::string& text) {
    double standardValue = 7, value = 7;
    bool tooLarge = false;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), standardValue);
    const std::size_t read = ReadNumber(text, value, tooLarge);
    if (error == std::errc::invalid_argument) {
      EXPECT_EQ(read, 0u) << text;
      return;
    }
    EXPECT_EQ(read, static_cast<std::size_t>(end - text.data())) << text;
    if (error == std::errc::result_out_of_range) {
      EXPECT_TRUE(tooLarge || value == 0) << text;
    } else {
      EXPECT_FALSE(tooLarge) << text;
      standardValue = testing::correctlyRounded(text.substr(0, read));
      EXPECT_EQ(std::memcmp(&value, &standardValue, sizeof value), 0) << text;
    }
  };
  for (const char* text : {"0",
                           "-0",
                           "5.",
                           ".5",
                           ".",
                           "-",
                           "1e",
                           "1e+",
                           "1E-5",
                           "2.675",
                           "+5",
                           "1.7976931348623157e308",
                           "1.7976931348623158e308",
                           "1e309",
                           "2.4703282292062327e-324",
                           "2.4703282292062328e-324",
                           "1e-400",
                           "9007199254740993",
                           "9007199254740993.000000000000000000001",
                           "1.5.2",
                           "600.5mm",
                           "0.000000000000000000000000000001e30",
                           "1.00000000000000011102230246251565404236316680908203125",
                           "1.00000000000000033306690738754696212708950042724609375"}) {
    expectSame(text);
  }
  double value = 0;
  bool tooLarge = false;
  EXPECT_EQ(ReadNumber("inf", value, tooLarge), 0u);
  std::mt19937_64 random(33);
  std::uniform_int_distribution<std::uint64_t> bits;
  std::uniform_int_distribution<int> digit(0, 9), exponent(-340, 330), length(1, 40);
  for (int i = 0; i < 10000 && !HasFailure(); ++i) {
    const std::uint64_t pattern = bits(random);
    double any = 0;
    std::memcpy(&any, &pattern, sizeof any);
    if (!std::isfinite(any)) continue;
    expectSame(standard(any, std::chars_format::scientific, 16 + i % 40));
    // The point halfway to the next double, exact in a long double's 64 bits of mantissa.
    const double next = std::nextafter(any, HUGE_VAL);
    if (std::isfinite(next)) {
      const long double halfway =
          static_cast<long double>(any) + (static_cast<long double>(next) - any) / 2;
      char buffer[1200];
      const char* end =
          std::to_chars(buffer, buffer + sizeof buffer, halfway, std::chars_format::scientific, 800)
              .ptr;
      expectSame(std::string(static_cast<const char*>(buffer), end));
    }
    std::string digits;
    for (int k = length(random); k > 0; --k) digits += static_cast<char>('0' + digit(random));
    if (i % 3 == 0) digits.insert(digits.size() / 2, ".");
    expectSame(digits + "e" + std::to_string(exponent(random)));
  }
}

}  // namespace
}  // namespace korvale
