#include "core/text_value.h"

#include <gtest/gtest.h>

#include "tests/support/correctly_rounded.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <system_error>

#include "core/runtime_error.h"

namespace korvale {
namespace {

TEST(TextValue, ReadsTheLeadingNumberAndIgnoresTheRest) {
  // clang-format off
  const std::pair<const char*, double> cases[] = {
      {"20", 20},        {"5M", 5},          {"14M", 14},      {"", 0},           {"M5", 0},
      {" 2 0", 20},      {"20.5", 20.5},     {"1.5.2", 1.5},   {"3,5", 3},        {"-20", -20},
      {"+7", 7},         {"- 2 0 . 5", -20.5},{"\t1\n2", 12},  {".5", 0.5},       {"5.", 5},
      {".", 0},          {"-", 0},           {"--5", 0},       {"5E", 5},         {"5E+", 5},
      {"5e-x", 5},       {"5E2", 500},       {"5 e - 2", 0.05},{"2.5E+1M", 25},   {"0005", 5},
      {"&H1F", 0},       {"2D3", 2},         {"\r5", 0},       {"5\r5", 5},       {"1E308", 1E308},
      {"1e-310", 1e-310},{"4.9E-324", 4.9E-324},               {"2E-324", 0},     {"1E-99999", 0},
      {"0E99999", 0},    {"1.7976931348623158E308", DBL_MAX},  {"0.0000000000000000000000000000001E31", 1}};
  // clang-format on
  for (const auto& [text, value] : cases) EXPECT_EQ(TextValue(text), value) << '"' << text << '"';
  EXPECT_TRUE(std::signbit(TextValue("-0")));
}

// Plain decimals, as a person types them, read as the C++ library's own correctly rounded reading.
TEST(TextValue, ReadsPlainDecimalsAsTheLibraryDoes) {
  std::mt19937 random(11);
  const auto digits = [&](std::size_t most) {
    std::string text(std::uniform_int_distribution<std::size_t>(1, most)(random), '0');
    for (char& c : text) c = static_cast<char>('0' + random() % 10);
    return text;
  };
  for (int i = 0; i < 100000; ++i) {
    std::string text = (random() % 2 ? "-" : "") + digits(25);
    if (random() % 2) text += "." + digits(25);
    if (random() % 2)
      text += "E" + std::to_string(std::uniform_int_distribution(-340, 330)(random));
    double expected = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), expected).ec != std::errc()) {
      continue;  // beyond the doubles: the cases above
    }
    ASSERT_EQ(TextValue(text), korvale::testing::correctlyRounded(text)) << text;
  }
}

TEST(TextValue, OverflowsOnlyBeyondTheLargestDouble) {
  for (const char* text : {"1E400", "1E99999", "-1E400", "1.7976931348623159E308",
                           "99999999999999999999E299", "1E999999999999999999999"}) {
    try {
      TextValue(text);
      ADD_FAILURE() << '"' << text << "\" did not overflow";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), kOverflowErrorNumber);
      EXPECT_EQ(e.description(), "Overflow");
    }
  }
  EXPECT_EQ(TextValue("1E-999999999999999999999"), 0);
}

TEST(TextValue, RoundsHundredThousandDigitNumbersCorrectly) {
  // Exactly halfway between 1 and the next double; a digit far beyond the 800th decides.
  const std::string halfway = "1.00000000000000011102230246251565404236316680908203125";
  EXPECT_EQ(TextValue(halfway), 1.0) << "ties go to even";
  EXPECT_EQ(TextValue(halfway + std::string(100000, '0') + "1"), std::nextafter(1.0, 2.0));
  EXPECT_EQ(TextValue(halfway + std::string(100000, '0')), 1.0);
  EXPECT_EQ(TextValue(halfway + std::string(1000, '0') + "1000"), std::nextafter(1.0, 2.0))
      << "a dropped non-zero digit counts though zeros follow it";
  // Halfway between 2^-60 and the next double takes 95 significant digits: a reading that kept
  // fewer would round this number, a hair above it, down.
  EXPECT_EQ(TextValue("0.00000000000000000086736173798840364350245946005774602193952212924636592"
                      "6905082410769409761996939778327941894531251"),
            std::nextafter(0x1p-60, 1.0));

  // The compiler's own correctly rounded reading of the literals is the reference here: not every
  // C library's strtod copes with 100,000 digits.
  const std::string sevens(100000, '7');
  EXPECT_EQ(TextValue("0." + sevens), 0.77777777777777777777777777777777);
  EXPECT_EQ(TextValue(sevens + "E-99990"), 7777777777.7777777777777777777777777);
  EXPECT_THROW(TextValue(sevens), RuntimeError);
}

}  // namespace
}  // namespace korvale
