#include "core/belt_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/belt_drive.h"

namespace korvale {
namespace {

const double kPi = std::acos(-1.0);

LayoutPulley toothed(const char* name, double x, double y, long teeth) {
  return {name, x, y, teeth, 0, LayoutSide::Tooth, false};
}

LayoutPulley roller(const char* name, double x, double y, double diameter, LayoutSide side) {
  return {name, x, y, 0, diameter, side, false};
}

void expectRelative(double actual, double expected, double tolerance, const std::string& what) {
  EXPECT_LE(std::fabs(actual - expected), tolerance * std::max(1.0, std::fabs(expected))) << what;
}

// The path checked without the construction that made it: each tangent point on its circle, each
// span at right angles to both radii it meets, the belt's pulleys on the sides their sides say, and
// the length summed again from the points (arcs by the angle between the radii to them).
void expectABelt(const Layout& layout, const LayoutPath& path, const std::string& what) {
  const std::size_t n = layout.pulleys.size();
  double length = 0, turning = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const LayoutSpan& span = path.spans[i];
    const LayoutPulley &a = layout.pulleys[span.from], &b = layout.pulleys[span.to];
    const double ra = path.contacts[span.from].radius, rb = path.contacts[span.to].radius;
    const double sx = span.x2 - span.x1, sy = span.y2 - span.y1;
    expectRelative(std::hypot(span.x1 - a.x, span.y1 - a.y), ra, 1e-9, what + " on " + a.name);
    expectRelative(std::hypot(span.x2 - b.x, span.y2 - b.y), rb, 1e-9, what + " on " + b.name);
    const double scale = std::hypot(sx, sy) * std::max(ra, rb) + 1e-300;
    EXPECT_LE(std::fabs(sx * (span.x1 - a.x) + sy * (span.y1 - a.y)), 1e-9 * scale) << what;
    EXPECT_LE(std::fabs(sx * (span.x2 - b.x) + sy * (span.y2 - b.y)), 1e-9 * scale) << what;
    expectRelative(std::hypot(sx, sy), span.length, 1e-9, what + " span");
    length += std::hypot(sx, sy);
  }
  // The loop's sense, from the first pulley: a tooth-side one turns with it.
  const bool firstCounterClockwise = path.contacts[0].arcSweep > 0;
  const bool firstOnTeeth = layout.pulleys[0].side == LayoutSide::Tooth;
  const double sense = firstCounterClockwise == firstOnTeeth ? 1 : -1;
  for (std::size_t j = 0; j < n; ++j) {
    const LayoutPulley& pulley = layout.pulleys[j];
    const LayoutSpan &in = path.spans[(j + n - 1) % n], &out = path.spans[j];
    // Tooth-side pulleys turn the belt the loop's way round, back-side ones the other way.
    const double way = (pulley.side == LayoutSide::Tooth ? 1 : -1) * sense;
    double angle = std::atan2(out.y1 - pulley.y, out.x1 - pulley.x) -
                   std::atan2(in.y2 - pulley.y, in.x2 - pulley.x);
    while (way * angle < 0) angle += way * 2 * kPi;
    while (way * angle >= 2 * kPi) angle -= way * 2 * kPi;
    expectRelative(std::fabs(angle) * 180 / kPi, path.contacts[j].wrap, 1e-9, what + " wrap");
    length += path.contacts[j].radius * std::fabs(angle);
    turning += angle;
  }
  expectRelative(length, path.length, 1e-9, what + " length");
  expectRelative(std::fabs(turning), 2 * kPi, 1e-9, what + " once round");
}

// Convex loops of 2 to 50 pulleys of 1 to 10,000 teeth (alike in a loop, so that each span runs at
// their pitch radius outside the ring's chord), some with rollers on the belt's back pressing on a
// span, checked as above.
TEST(BeltLayout, IsABeltWhateverThePulleys) {
  std::mt19937_64 random(35);
  std::uniform_real_distribution<double> unit(0, 1);
  int checked = 0;
  for (int trial = 0; trial < 400; ++trial) {
    Layout layout;
    layout.profile = FindBeltProfile(trial % 2 == 0 ? "2GT" : "8M");
    const std::size_t count = 2 + static_cast<std::size_t>(unit(random) * 36);
    const long teeth = 1 + static_cast<long>(std::pow(10000.0, unit(random)));
    const double pitchRadius = static_cast<double>(teeth) * layout.profile->pitch / (2 * kPi);
    // Far enough apart round a circle that no two pulleys touch.
    const double ring = (pitchRadius + 10) * static_cast<double>(count) * (1 + unit(random));
    for (std::size_t i = 0; i < count; ++i) {
      const double angle = 2 * kPi * static_cast<double>(i) / static_cast<double>(count);
      layout.pulleys.push_back(toothed("p", ring * std::cos(angle), ring * std::sin(angle), teeth));
      layout.pulleys.back().name = "p" + std::to_string(i);
      if (count > 2 && unit(random) < 0.3) {
        // A roller outside the loop at the span's middle, its outside 0.5 to 3 mm into the span.
        const double middle = angle + kPi / static_cast<double>(count);
        const double diameter = 10 + 10 * unit(random);
        const double across = ring * std::cos(kPi / static_cast<double>(count)) + pitchRadius +
                              diameter / 2 - 0.5 - 2.5 * unit(random);
        layout.pulleys.push_back(roller("r", across * std::cos(middle), across * std::sin(middle),
                                        diameter, LayoutSide::Back));
        layout.pulleys.back().name = "r" + std::to_string(i);
      }
    }
    const LayoutSolution solution = SolveLayout({layout, {}, {}, 1});
    if (solution.failure) continue;
    expectABelt(layout, solution.path, "trial " + std::to_string(trial));
    ++checked;
  }
  EXPECT_GT(checked, 300);
}

// Two pulleys make the drive, to the bit nearly: length, wraps and teeth in mesh.
TEST(BeltLayout, OfTwoPulleysIsTheDrive) {
  std::mt19937_64 random(2);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int i = 0; i < 1000; ++i) {
    const BeltProfile& profile = BeltProfiles[static_cast<std::size_t>(i) % BeltProfiles.size()];
    const long z1 = 1 + static_cast<long>(unit(random) * 300);
    const long z2 = 1 + static_cast<long>(unit(random) * 300);
    const double half =
        std::fabs(DrivePitchDiameter(z2, profile.pitch) - DrivePitchDiameter(z1, profile.pitch)) /
        2;
    const double centre = half * (1.01 + 10 * unit(random)) + profile.pitch;
    const DriveSolution drive = SolveDrive({{&profile, z1, z2}, DriveGiven::Centre, centre, 1});
    Layout layout;
    layout.profile = &profile;
    layout.pulleys = {toothed("1", 0, 0, z1), toothed("2", centre, 0, z2)};
    const LayoutSolution solution = SolveLayout({layout, {}, {}, 1});
    ASSERT_FALSE(solution.failure) << *solution.failure;
    const DriveRow& row = drive.rows.front();
    const std::string what = std::string(profile.name) + " " + std::to_string(z1) + "/" +
                             std::to_string(z2) + " at " + std::to_string(centre);
    expectRelative(solution.path.length, row.length, 1e-12, what);
    expectRelative(solution.path.contacts[0].wrap, row.wrap1, 1e-12, what);
    expectRelative(solution.path.contacts[1].wrap, row.wrap2, 1e-12, what);
    EXPECT_EQ(solution.path.contacts[0].mesh, row.mesh1) << what;
    EXPECT_EQ(solution.path.contacts[1].mesh, row.mesh2) << what;
  }
}

// A CoreXY-like square, worked by hand: four 20-tooth 2GT pulleys at the corners of a 300 mm
// square (pitch radius r = 40/2π), listed counter-clockwise, and a plain 12 mm roller on the
// belt's back under the bottom span at (150, -12): its pitch line at 6 + (1.52 - 0.76 - 0.254) =
// 6.506. The crossed tangent from the first pulley to the roller is t = √(150² + 12² - (r +
// 6.506)²) = 149.92767098 long and rises at β = atan2(-12, 150) + asin((r + 6.506)/√(150² + 12²))
// = 0.33323439°: the two bottom pulleys wrap 90° + β, the roller 2β, and the belt is
// 3·300 + 2t + 2πr + 2rβ + 6.506·2β = 1240.00507233 mm. Sliding the top-right pulley along (1, 0)
// by x makes the top span 300 + x and the right one √(300² + x²) (the wraps shift between equal
// pulleys, their sum stays): the 621-tooth belt (1242 mm, δ = 1.99492767 more) takes x =
// δ(600 + δ)/(600 + 2δ) = 1.98833859 mm.
TEST(BeltLayout, WorksTheSquareAsByHand) {
  Layout layout;
  layout.profile = FindBeltProfile("2GT");
  layout.pulleys = {toothed("a", 0, 0, 20), roller("roller", 150, -12, 12, LayoutSide::Back),
                    toothed("b", 300, 0, 20), toothed("c", 300, 300, 20), toothed("d", 0, 300, 20)};
  layout.move = LayoutMove{3, 1, 0};
  const LayoutSolution solution = SolveLayout({layout, {}, {}, 1});
  ASSERT_FALSE(solution.failure) << *solution.failure;
  expectRelative(solution.path.length, 1240.0050723267477, 1e-12, "length");
  expectRelative(solution.path.contacts[0].wrap, 90.33323439238906, 1e-12, "wrap a");
  expectRelative(solution.path.contacts[1].wrap, 0.6664687847781072, 1e-9, "wrap roller");
  EXPECT_EQ(solution.path.contacts[1].turnsWithFirst, false);
  EXPECT_EQ(solution.path.contacts[0].mesh, 5);
  ASSERT_EQ(solution.fits.size(), 2u);
  EXPECT_EQ(solution.fits[0].kind, "shorter");
  EXPECT_EQ(solution.fits[1].teeth, 621);
  expectRelative(solution.fits[1].travel, 1.9883385949982653, 1e-9, "travel");
  expectRelative(solution.fits[1].path.length, 1242, 1e-12, "fitted length");
}

// The header's example, listed so that the belt runs clockwise: the counter-clockwise sense goes
// round once too, but crosses itself, and so is not the belt; listed the other way round, the
// same belt counter-clockwise.
TEST(BeltLayout, TakesTheSenseThatDoesNotCrossItself) {
  Layout layout;
  layout.profile = FindBeltProfile("2GT");
  layout.pulleys = {toothed("motor", 0, 0, 20), roller("idler", 100, 8, 12, LayoutSide::Back),
                    toothed("carriage", 201.3, 0, 20)};
  layout.move = LayoutMove{0, -1, 0};
  const LayoutSolution clockwise = SolveLayout({layout, {}, {}, 1});
  ASSERT_FALSE(clockwise.failure);
  expectRelative(clockwise.path.length, 442.83620977478853, 1e-12, "length");
  expectRelative(clockwise.path.contacts[1].wrap, 5.5602062298925636, 1e-9, "roller's wrap");
  EXPECT_LT(clockwise.path.contacts[0].arcSweep, 0);
  EXPECT_TRUE(clockwise.notes.empty());
  ASSERT_EQ(clockwise.fits.size(), 2u);
  expectRelative(clockwise.fits[0].travel, -0.41835533785926743, 1e-9, "223 teeth");
  std::swap(layout.pulleys[0], layout.pulleys[2]);
  layout.move = LayoutMove{2, -1, 0};
  const LayoutSolution counterClockwise = SolveLayout({layout, {}, {}, 1});
  ASSERT_FALSE(counterClockwise.failure);
  expectRelative(counterClockwise.path.length, clockwise.path.length, 1e-12, "either way round");
  EXPECT_GT(counterClockwise.path.contacts[0].arcSweep, 0);
}

// What is no belt, and why; and a move that cannot reach a belt.
TEST(BeltLayout, RefusesWhatCannotBeABelt) {
  const struct {
    std::vector<LayoutPulley> pulleys;
    const char* profile;
    const char* failure;
  } cases[] = {
      {{toothed("a", 0, 0, 20)}, "2GT", "a belt needs two pulleys at least"},
      {{toothed("a", 0, 0, 20), toothed("b", 0, 0, 30)}, "2GT", "a and b share a centre"},
      {{toothed("a", 0, 0, 20), toothed("c", 300, 300, 20), toothed("b", 300, 0, 20),
        toothed("d", 0, 300, 20)},
       "2GT",
       "no belt goes round these pulleys in this order"},
      {{toothed("a", 0, 0, 20), toothed("b", 1, 0, 60)},
       "2GT",
       "no belt runs from a to b: one lies within the other"},
      {{toothed("a", 0, 0, 20), roller("r", 10, 0, 12, LayoutSide::Back), toothed("b", 200, 0, 20)},
       "2GT",
       "no belt runs from a to r: they overlap"},
      {{toothed("a", 0, 0, 20), roller("r", 400, 0, 12, LayoutSide::Back),
        toothed("b", 200, 0, 20)},
       "2GT",
       "r on the belt's back would not press on the belt: the belt would have to bend round it "
       "the wrong way"},
      {{toothed("a", 0, 0, 20), roller("r", 100, 20, 12, LayoutSide::Back),
        toothed("b", 200, 0, 20)},
       "AT5",
       "no public figure gives where the AT5 belt's pitch line runs over r on its back"},
  };
  for (const auto& c : cases) {
    Layout layout;
    layout.profile = FindBeltProfile(c.profile);
    layout.pulleys = c.pulleys;
    const LayoutSolution solution = SolveLayout({layout, {}, {}, 1});
    ASSERT_TRUE(solution.failure) << c.failure;
    EXPECT_EQ(*solution.failure, c.failure);
  }
  // Sliding the roller of a belt that only grows shorter towards the asked length.
  Layout layout;
  layout.profile = FindBeltProfile("2GT");
  layout.pulleys = {toothed("a", 0, 0, 20), roller("r", 60, 10, 12, LayoutSide::Back),
                    toothed("b", 200, 0, 20)};
  layout.move = LayoutMove{1, 1, 0};
  const LayoutSolution solution = SolveLayout({layout, 100.0, {}, 1});
  ASSERT_FALSE(solution.failure);
  ASSERT_EQ(solution.unfitted.size(), 1u);
  EXPECT_EQ(solution.unfitted[0],
            "the belt's length does not grow steadily along the move up to 100 teeth");
}

}  // namespace
}  // namespace korvale
