#include "core/belt_load.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

namespace korvale {
namespace {

void expectRelative(double actual, double expected, double tolerance, const char* what) {
  EXPECT_LE(std::fabs(actual - expected), tolerance * std::fabs(expected)) << what;
}

// The physics over random drives, each figure worked out apart from the code: the belt speed from
// the teeth passing per second, the span from the wrap, the running hub load as the sum of the two
// spans' pulls as vectors.
TEST(BeltLoad, AgreesWithThePhysicsWrittenApart) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> unit(0, 1);
  const double pi = std::acos(-1.0);
  for (int i = 0; i < 2000; ++i) {
    const BeltProfile& profile = BeltProfiles[static_cast<std::size_t>(i) % BeltProfiles.size()];
    const long z1 = 10 + static_cast<long>(unit(random) * 60);
    const long z2 = 10 + static_cast<long>(unit(random) * 120);
    const double d1 = static_cast<double>(z1) * profile.pitch / pi;
    const double d2 = static_cast<double>(z2) * profile.pitch / pi;
    const double half = std::fabs(d2 - d1) / 2;
    const DriveRequest drive{{&profile, z1, z2},
                             DriveGiven::Centre,
                             (1.01 + 5 * unit(random)) * (half + (d1 + d2) / 2),
                             1};
    DriveSolution solution = SolveDrive(drive);
    ASSERT_FALSE(solution.failure);
    LoadRequest load;
    load.rpm = 10 + 3000 * unit(random);
    (i % 2 == 0 ? load.power : load.torque) = 0.01 + 20 * unit(random);
    if (i % 3 != 0) load.serviceFactor = 1 + unit(random);
    const LoadSolution result = SolveLoad(drive, load, solution);

    const double n1 = load.rpm;
    const double power = load.power ? *load.power : *load.torque * n1 * 2 * pi / 60000;
    const double factor = load.serviceFactor ? *load.serviceFactor : 1.5;
    const double speed = static_cast<double>(z1) * profile.pitch * n1 / 60 / 1000;
    expectRelative(result.speed, speed, 1e-12, "v");
    expectRelative(result.rpm2, n1 * static_cast<double>(z1) / static_cast<double>(z2), 1e-12,
                   "n2");
    expectRelative(result.torque1, power * 1000 / (2 * pi * n1 / 60), 1e-12, "T1");
    expectRelative(result.torque2 * static_cast<double>(z1),
                   result.torque1 * static_cast<double>(z2), 1e-12, "T2");
    expectRelative(result.pull, power * factor * 1000 / speed, 1e-12, "Te");
    ASSERT_EQ(result.rows.size(), solution.rows.size());
    for (std::size_t r = 0; r < solution.rows.size(); ++r) {
      const DriveRow& row = solution.rows[r];
      const LoadRow& figures = result.rows[r];
      const double wrap = row.wrap1 * pi / 180;
      expectRelative(figures.span, row.centre * std::sin(wrap / 2), 1e-9, "span");
      const double running = power * 1000 / speed;
      const double tight = (result.pull + running) / 2;
      const double slack = (result.pull - running) / 2;
      // The spans leave pulley 1 at an angle π − θ to each other.
      const std::complex<double> pulls = tight + slack * std::polar(1.0, pi - wrap);
      expectRelative(figures.hubRunning, std::abs(pulls), 1e-9, "hub running");
      if (!figures.massPerMetre) continue;
      const double m = *figures.massPerMetre;
      const double tst = result.pull / 2 + m * speed * speed;
      expectRelative(*figures.tStatic, tst, 1e-12, "Tst");
      expectRelative(*figures.tTight - *figures.tSlack, running, 1e-9, "tight - slack");
      expectRelative(*figures.frequency, std::sqrt(tst / m) / (2 * figures.span / 1000), 1e-9, "f");
      expectRelative(*figures.hubStatic, 2 * tst * std::sin(wrap / 2), 1e-9, "hub static");
      expectRelative(figures.deflection * 64, figures.span, 1e-15, "deflection");
    }
  }
}

// The trapezoidal ratings against the published figures: the standard's per-width horsepower
// formula at its reference width (written here in its own units, feet per minute), the Chinese
// standard's allowable tension and mass per reference width (IP-24's own within 0.5%, XL within
// 2.5%), the teeth-in-mesh factor, and the stock width a rating chooses.
TEST(BeltLoad, RatesAsTheStandardsPublish) {
  const struct {
    const char* profile;
    double inches, a, b;   // IP-24: HP = Kz·d·(n/1000)·(a − b·(d·n/1000)²) at this width
    double tension, mass;  // GB/T 11362 per reference width: N, kg/m
    double agreement;
  } published[] = {
      {"XL", 0.375, 0.0916, 7.07e-5, 50.17, 0.022, 0.025},
      {"L", 1, 0.436, 3.01e-4, 244.46, 0.095, 0.005},
      {"H", 3, 3.73, 1.41e-3, 2100.85, 0.448, 0.005},
      {"XH", 4, 7.21, 4.68e-3, 4048.9, 1.484, 0.005},
      {"XXH", 5, 11.4, 7.81e-3, 6398.03, 2.473, 0.005},
  };
  const double pi = std::acos(-1.0);
  for (const auto& p : published) {
    const BeltRating& rating = BeltRatingOf(*FindBeltProfile(p.profile));
    for (const double diameter : {50.0, 120.0, 300.0}) {
      for (const double rpm : {100.0, 1450.0, 3000.0}) {
        const double d = diameter / 25.4;
        const double feetPerMinute = pi * d * rpm / 12;
        if (feetPerMinute > 6500) continue;
        const double horsepower = d * rpm / 1000 * (p.a - p.b * std::pow(d * rpm / 1000, 2));
        expectRelative(*RatedPower(rating, p.inches, diameter, rpm, 1), horsepower * 0.7456999,
                       1e-6, p.profile);
        // P = (Ta − m·v²)·v at Kz = 1.
        const double v = pi * diameter * rpm / 60000;
        const double gb = (p.tension - p.mass * v * v) * v / 1000;
        expectRelative(*RatedPower(rating, p.inches, diameter, rpm, 1), gb, p.agreement + 0.002,
                       p.profile);
      }
    }
    expectRelative(*BeltMassPerMetre(rating, p.inches), p.mass, p.agreement, p.profile);
  }
  // MXL, by torque: Qr = d·(2.63 − 3.21e-3·d²) lbf·in at 1/4 in, whatever the speed.
  const BeltRating& mxl = BeltRatingOf(*FindBeltProfile("MXL"));
  const double d = 1.0;
  expectRelative(*RatedPower(mxl, 0.25, 25.4, 600, 1),
                 d * (2.63 - 3.21e-3) * 0.1129848290276167 * 2 * pi * 10 / 1000, 1e-12, "MXL");
  EXPECT_FALSE(RatedPower(mxl, 0.3, 25.4, 600, 1)) << "no formula for a width it does not list";

  const std::pair<long, std::optional<double>> factors[] = {
      {40, 1},  {6, 1},   {5, 0.8},          {4, 0.6},
      {3, 0.4}, {2, 0.2}, {1, std::nullopt}, {0, std::nullopt}};
  for (const auto& [teeth, factor] : factors) EXPECT_EQ(TeethInMeshFactor(teeth), factor) << teeth;

  // The header's example: L 20/40 at C 300, 0.5 kW at 1450 rpm: v 4.60 m/s, Te 162.9 N, and
  // 0.75 in the narrowest width that carries the 0.75 kW design power.
  const DriveRequest drive{{FindBeltProfile("L"), 20, 40}, DriveGiven::Centre, 300, 1};
  DriveSolution solution = SolveDrive(drive);
  LoadRequest load;
  load.power = 0.5;
  load.rpm = 1450;
  const LoadSolution result = SolveLoad(drive, load, solution);
  EXPECT_NEAR(result.speed, 4.60375, 1e-12);
  EXPECT_NEAR(result.pull, 162.92, 0.01);
  EXPECT_EQ(result.rows.front().width, 0.75);
  EXPECT_NEAR(*result.rows.front().ratedPower, 0.8038, 0.0001);
}

}  // namespace
}  // namespace korvale
