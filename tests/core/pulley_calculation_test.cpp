#include "core/pulley_calculation.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "core/floor2.h"
#include "core/runtime_error.h"

namespace korvale {
namespace {

// Teeth text, pitch text, selected index, and what the recompute shows: "D | Da".
struct RecomputeCase {
  const char* teeth;
  const char* pitch;
  int selectedIndex;
  const char* shown;
};

// On an overflow, the error and whether the working value was left as it stood.
std::string recompute(const RecomputeCase& c) {
  double PitchDia = -7;
  try {
    const DiameterTexts texts = ComputeDiameters(c.teeth, c.pitch, c.selectedIndex, PitchDia);
    return texts.pitchCircle + " | " + texts.tipCircle;
  } catch (const RuntimeError& e) {
    return "error " + std::to_string(e.number()) + (PitchDia == -7 ? ", untouched" : ", touched");
  }
}

TEST(ComputeDiameters, ShowsBothDiametersFlooredToHundredths) {
  // clang-format off
  const RecomputeCase cases[] = {
      {"20", "3M", 0, "19.09 | 18.33"},       {"20", "5M", 1, "31.83 | 30.69"},
      {"20", "8M", 2, "50.92 | 49.55"},       {"20", "14M", 3, "89.12 | 86.32"},
      {"23", "5M", 1, "36.6 | 35.46"},        {"20.5", "5M", 1, "32.62 | 31.48"},
      {"", "5M", 1, "0 | -1.14"},             {"0", "3M", 0, "0 | -0.76"},
      {"-20", "5M", 1, "-31.84 | -32.98"},    {"20", "5M", -1, "31.83 | 31.83"},
      {"20", "6", -1, "38.19 | 38.19"},       {"abc", "5M", 1, "0 | -1.14"},
      {"20", "5M", 2, "31.83 | 30.46"},       {"20", "", -1, "0 | 0"},
      {"-0", "5M", -1, "0 | 0"},              {"20", "5M", 7, "31.83 | 31.83"},
      {"1E308", "5M", 1, "1.59154943071114E+308 | 1.59154943071114E+308"},
      {"-1E308", "5M", 1, "-1.59154943071114E+308 | -1.59154943071114E+308"},
      // An overflow is raised before anything is written.
      {"1E308", "14M", 3, "error 6, untouched"},
      {"1E400", "5M", 1, "error 6, untouched"},
      {"20", "1E400", -1, "error 6, untouched"},
      {"-1E308", "1E308", -1, "error 6, untouched"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(recompute(c), c.shown) << c.teeth << " / " << c.pitch;
}

TEST(Floor2, FloorsTowardMinusInfinityWithoutCorrection) {
  // clang-format off
  const std::pair<double, double> cases[] = {
      {31.830988618379067, 31.83}, {-31.830988618379067, -31.84}, {0.29, 0.28}, {2.5, 2.5},
      {-0.001, -0.01}, {0, 0}, {DBL_MAX, DBL_MAX}, {-DBL_MAX, -DBL_MAX},
      {1.5915494307111402E+308, 1.5915494307111402E+308}};
  // clang-format on
  for (const auto& [x, floored] : cases) EXPECT_EQ(Floor2(x), floored) << x;
}

}  // namespace
}  // namespace korvale
