#include "core/text_value.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "core/runtime_error.h"

namespace korvale {
namespace {

struct TextCase {
  const char* text;
  double value;
};

TEST(TextValue, ReadsTheLeadingNumberAndIgnoresTheRest) {
  const TextCase cases[] = {
      {"20", 20},
      {"5M", 5},
      {"14M", 14},
      {"", 0},
      {"M5", 0},
      {" 2 0", 20},
      {"20.5", 20.5},
      {"1.5.2", 1.5},
      {"3,5", 3},
      {"-20", -20},
      {"+7", 7},
      {"- 2 0 . 5", -20.5},
      {"\t1\n2", 12},
      {".5", 0.5},
      {"5.", 5},
      {".", 0},
      {"-", 0},
      {"--5", 0},
      {"+-5", 0},
      {"5E", 5},
      {"5E+", 5},
      {"5e-", 5},
      {"5Ex", 5},
      {"5E2", 500},
      {"5 e - 2", 0.05},
      {"2.5E+1M", 25},
      {"0005", 5},
      {"0.000", 0},
      {"1E308", 1E308},
      {"&H1F", 0},
      {"&O17", 0},
      {"2D3", 2},
      {"\r5", 0},
      {"5\r5", 5},
      {"1e-310", 1e-310},
      {"4.9E-324", 4.9E-324},
      {"2E-324", 0},
      {"1E-99999", 0},
      {"0E99999", 0},
      {"0.0000000000000000000000000000001E31", 1},
      {"1797693134862315708145274237317043567980705675258449965989174768031572607800285387605895586"
       "32"
       "7668781715404589535143824642343213268894641827684675467035375169860499105765512820762454900"
       "90"
       "3893289440758685084551339423045832369032229481658085593321233482747978262041447231687381771"
       "80"
       "919299881250404026184124858368",
       DBL_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextValue(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(TextValue, KeepsTheSignOfZero) {
  EXPECT_TRUE(std::signbit(TextValue("-0")));
  EXPECT_FALSE(std::signbit(TextValue("0")));
}

TEST(TextValue, OverflowsOnlyBeyondTheLargestDouble) {
  const char* overflows[] = {"1E400",
                             "1E99999",
                             "-1E400",
                             "1.7976931348623159E308",
                             "99999999999999999999E299",
                             "1E999999999999999999999"};
  for (const char* text : overflows) {
    try {
      TextValue(text);
      ADD_FAILURE() << '"' << text << "\" did not overflow";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), kOverflowErrorNumber);
      EXPECT_EQ(e.description(), "Overflow");
    }
  }
  EXPECT_EQ(TextValue("1.7976931348623158E308"), DBL_MAX);
  EXPECT_EQ(TextValue("1E-999999999999999999999"), 0);
}

// A reference the implementation does not share: the C library's correctly rounded strtod on the
// text with the blanks taken out.
double reference(const std::string& cleaned) {
  return std::strtod(cleaned.c_str(), nullptr);
}

TEST(TextValue, MatchesStrtodOnRandomDecimals) {
  std::mt19937_64 random(20261206);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int i = 0; i < 20000; ++i) {
    std::string typed;
    std::string cleaned;
    auto add = [&](char c) {
      typed.push_back(c);
      cleaned.push_back(c);
      if (pick(8) == 0) typed.push_back(" \t\n"[pick(3)]);
    };
    if (pick(3) == 0) add(pick(2) ? '-' : '+');
    const int digits = 1 + pick(pick(10) == 0 ? 900 : 25);
    const int point = pick(digits + 1);
    for (int d = 0; d < digits; ++d) {
      if (d == point) add('.');
      add(static_cast<char>('0' + (pick(4) == 0 ? 0 : pick(10))));
    }
    if (pick(2)) {
      add('e');
      if (pick(2)) add('-');
      for (char c : std::to_string(pick(330))) add(c);
    }
    const double expected = reference(cleaned);
    if (std::isinf(expected)) continue;
    EXPECT_EQ(TextValue(typed), expected) << cleaned;
  }
}

TEST(TextValue, RoundsHundredThousandDigitNumbersCorrectly) {
  // Halfway between 1 and the next double, decided only by a digit far beyond the 800th.
  const std::string halfway = "1.00000000000000011102230246251565404236316680908203125";
  const double above = std::nextafter(1.0, 2.0);
  EXPECT_EQ(TextValue(halfway), 1.0) << "ties go to even";
  EXPECT_EQ(TextValue(halfway + std::string(100000, '0') + "1"), above);
  EXPECT_EQ(TextValue(halfway + std::string(100000, '0')), 1.0);

  const std::string manyDigits(100000, '7');
  // The compiler's own (correctly rounded) reading of the literals is the reference here: not every
  // C library's strtod copes with 100,000 digits.
  EXPECT_EQ(TextValue("0." + manyDigits), 0.77777777777777777777777777777777);
  EXPECT_EQ(TextValue(manyDigits + "E-99990"), 7777777777.7777777777777777777777777);
  EXPECT_THROW(TextValue(manyDigits), RuntimeError);
}

}  // namespace
}  // namespace korvale
