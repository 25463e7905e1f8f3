#include "core/belt_drive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "core/belt_ratings.h"
#include "core/belt_sections.h"

namespace korvale {
namespace {

// The textbook formula, written out on its own: diameters through π, no shortcuts.
double referenceLength(double pitch, long z1, long z2, double centre) {
  const double pi = std::acos(-1.0);
  const double d1 = static_cast<double>(z1) * pitch / pi;
  const double d2 = static_cast<double>(z2) * pitch / pi;
  const double phi = std::asin((d2 - d1) / (2 * centre));
  return 2 * centre * std::cos(phi) + pi * (d1 + d2) / 2 + phi * (d2 - d1);
}

// Bisection alone, on the reference formula: slow, and sure.
double referenceCentre(double pitch, long z1, long z2, double length) {
  const double pi = std::acos(-1.0);
  double low = std::fabs(static_cast<double>(z2 - z1)) * pitch / pi / 2;
  double high = length / 2;
  for (int i = 0; i < 2000 && high - low > 1e-15 * high; ++i) {
    const double middle = low + (high - low) / 2;
    (referenceLength(pitch, z1, z2, middle) < length ? low : high) = middle;
  }
  return low + (high - low) / 2;
}

PulleyPair pair(const char* profile, long z1, long z2) {
  return {FindBeltProfile(profile), z1, z2};
}

// The first drive is the example of belt_drive.h, every figure as the header states it.
TEST(BeltDrive, SolvesTheWorkedExamples) {
  struct Row {
    const char* kind;
    double centre, length, beltTeeth, wrap1;
    long mesh1, mesh2;
  };
  const DriveSolution drive = SolveDrive({pair("14M", 28, 112), DriveGiven::Centre, 600});
  EXPECT_NEAR(drive.D1, 124.777475, 5e-7);
  EXPECT_NEAR(drive.D2, 499.109902, 5e-7);
  EXPECT_NEAR(drive.Da1, 124.777475 - 2.8, 5e-7);
  EXPECT_EQ(drive.ratioDriven * 10 + drive.ratioDriving, 41);
  const Row expected[] = {{"requested", 600, 2238.873225, 159.9195, 143.647, 11, 67},
                          {"shorter", 593.221159, 159 * 14, 159, 143.217, 11, 67},
                          {"longer", 600.592945, 160 * 14, 160, 143.684, 11, 67}};
  ASSERT_EQ(drive.rows.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const DriveRow& row = drive.rows[i];
    EXPECT_EQ(row.kind, expected[i].kind);
    EXPECT_NEAR(row.centre, expected[i].centre, 5e-7) << row.kind;
    EXPECT_NEAR(row.centreChange, expected[i].centre - 600, 5e-7) << row.kind;
    EXPECT_NEAR(row.length, expected[i].length, 5e-7) << row.kind;
    EXPECT_NEAR(row.beltTeeth, expected[i].beltTeeth, 5e-5) << row.kind;
    EXPECT_NEAR(row.wrap1, expected[i].wrap1, 5e-4) << row.kind;
    EXPECT_NEAR(row.wrap1 + row.wrap2, 360, 1e-12) << row.kind;
    if (i == 0) {
      EXPECT_NEAR(row.wrap2, 216.353, 5e-4);
    }
    EXPECT_EQ(row.mesh1 * 100 + row.mesh2, expected[i].mesh1 * 100 + expected[i].mesh2);
    // Makers cut a 14M pulley of 28 teeth larger at its tips than D - 2u.
    EXPECT_EQ(row.warnings, static_cast<unsigned>(DriveWarning::MakersTipDiffers)) << row.kind;
  }

  // Equal pulleys: exactly 2C plus one pulley's circumference, one whole belt, half of each
  // pulley in mesh (not one tooth less).
  const DriveSolution equal = SolveDrive({pair("5M", 20, 20), DriveGiven::Centre, 100});
  ASSERT_EQ(equal.rows.size(), 2u);
  EXPECT_EQ(equal.rows[0].length, 300);
  EXPECT_EQ(equal.rows[0].beltTeeth, 60);
  EXPECT_EQ(equal.rows[1].kind, "exact");
  EXPECT_EQ(equal.rows[1].centre, 100);
  EXPECT_EQ(equal.rows[0].mesh1 * 100 + equal.rows[0].mesh2, 1010);
  // 10 teeth wrapped by 72 degrees whose last bit falls short: still 2 in mesh.
  const DriveSolution tight =
      SolveDrive({pair("5M", 10, 46), DriveGiven::Centre, 35.410739151004776});
  EXPECT_EQ(tight.rows[0].mesh1, 2);
}

// Random drives over the whole range: the length agrees with the reference formula, the solved
// centre with bisection, the round trip gives the length back, and the closed form lies above.
TEST(BeltDrive, IsExactOverTheWholeRange) {
  std::mt19937_64 random(2026);
  std::uniform_int_distribution<long> teeth(1, 10000);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int i = 0; i < 20000; ++i) {
    const BeltProfile& profile = BeltProfiles[static_cast<std::size_t>(i) % BeltProfiles.size()];
    const long z1 = teeth(random);
    const long z2 = i % 7 == 0 ? z1 : teeth(random);
    const PulleyPair drive{&profile, z1, z2};
    const double pi = std::acos(-1.0);
    const double larger = static_cast<double>(std::max(z1, z2)) * profile.pitch / pi;
    const double limit = std::fabs(static_cast<double>(z2 - z1)) * profile.pitch / pi / 2;
    // From just past the limit to a thousand times the larger diameter, evenly in the logarithm.
    const double floor = std::max(limit * (1 + 1e-9), 1e-3);
    const double centre = floor * std::pow(1000 * larger / floor, unit(random));

    const double length = BeltPitchLength(drive, centre);
    ASSERT_NEAR(length, referenceLength(profile.pitch, z1, z2, centre), 1e-12 * length)
        << profile.name << " " << z1 << "/" << z2 << " C " << centre;
    const std::optional<double> solved = CentreForLength(drive, length);
    ASSERT_TRUE(solved.has_value());
    const double reference = referenceCentre(profile.pitch, z1, z2, length);
    // A centre far below the belt's length is only as sharp as the length's last bits.
    EXPECT_NEAR(*solved, reference, 1e-9 * reference + 1e-15 * length)
        << profile.name << " " << z1 << "/" << z2 << " L " << length;
    EXPECT_NEAR(BeltPitchLength(drive, *solved), length, 1e-9 + 4e-16 * length);
    EXPECT_GE(ApproximateCentre(drive, length), *solved * (1 - 1e-15));
  }
}

// Near the smallest centre the belt wraps almost all of the large pulley and its spans are
// short: the length against the tangents taken by Pythagoras (the difference C - (D2 - D1)/2 is
// exact there) with the angle from atan2, which stays sharp where asin does not; and the centre
// solved from such a length against bisection on that formula, as near as the length's own last
// bit lets any solve come (a length a bit off moves the centre by that bit over 2 cos φ).
TEST(BeltDrive, IsExactRightUpToTheSmallestCentre) {
  std::mt19937_64 random(33);
  std::uniform_int_distribution<long> teeth(1, 10000);
  std::uniform_real_distribution<double> unit(0, 1);
  const double pi = std::acos(-1.0);
  const double epsilon = std::numeric_limits<double>::epsilon();
  for (int i = 0; i < 4000; ++i) {
    const BeltProfile& profile = BeltProfiles[static_cast<std::size_t>(i) % BeltProfiles.size()];
    const PulleyPair drive{&profile, teeth(random), teeth(random)};
    const double d = std::fabs(static_cast<double>(drive.z2 - drive.z1)) * profile.pitch / pi;
    const double half = d / 2;
    const auto length = [&](double centre) {
      const double tangent = std::sqrt((centre - half) * (centre + half));
      return 2 * tangent + static_cast<double>(drive.z1 + drive.z2) * profile.pitch / 2 +
             std::atan2(half, tangent) * d;
    };
    const double centre = half * (1 + std::pow(10.0, -14 * unit(random)));
    if (!(centre > half)) continue;
    const double exact = length(centre);
    ASSERT_NEAR(BeltPitchLength(drive, centre), exact, 4 * epsilon * exact)
        << profile.name << " " << drive.z1 << "/" << drive.z2 << " C " << centre;
    const std::optional<double> solved = CentreForLength(drive, exact);
    if (!solved) continue;  // a length that rounds to the larger pulley's circumference
    double low = half, high = exact / 2;
    for (double middle = low + (high - low) / 2; middle > low && middle < high;
         middle = low + (high - low) / 2) {
      (length(middle) < exact ? low : high) = middle;
    }
    const double cosine = std::sqrt((low - half) * (low + half)) / low;
    EXPECT_NEAR(*solved, low, 8 * epsilon * exact / (2 * cosine) + 4 * epsilon * low)
        << profile.name << " " << drive.z1 << "/" << drive.z2 << " L " << exact;
  }
}

TEST(BeltDrive, RefusesWhatCannotBeBuiltAndWarnsOfWhatShouldNotBe) {
  struct Case {
    const char* profile;
    long z1, z2;
    DriveGiven given;
    double value;
    long increment;
    const char* expected;  // the failure, or each row's kind and warnings
  };
  const auto describe = [](const DriveSolution& drive) {
    if (drive.failure) {
      return std::string(drive.failure->kind == DriveFailure::BeltTooShort ? "short " : "close ") +
             std::to_string(drive.failure->limit);
    }
    std::string text;
    for (const DriveRow& row : drive.rows) {
      text += std::string(text.empty() ? "" : " ") + std::string(row.kind);
      for (const DriveWarning warning : kDriveWarnings) {
        if (row.has(warning)) text += "," + std::string(DriveWarningId(warning));
      }
    }
    return text;
  };
  // clang-format off
  const Case cases[] = {
      {"14M", 28, 112, DriveGiven::BeltTeeth, 112, 1, "short 1568.000000"},
      {"14M", 28, 112, DriveGiven::BeltLength, 1568.0000001, 1, "length,few_teeth_in_mesh,tips_touch,makers_tip_differs"},
      {"14M", 28, 112, DriveGiven::Centre, 187.16621, 1, "close 187.166213"},
      {"14M", 28, 112, DriveGiven::Centre, 187.1663, 1, "requested,few_teeth_in_mesh,tips_touch,no_shorter_belt,makers_tip_differs longer,few_teeth_in_mesh,tips_touch,makers_tip_differs"},
      {"14M", 28, 112, DriveGiven::Centre, 600, 5, "requested,makers_tip_differs shorter,makers_tip_differs longer,makers_tip_differs"},
      {"14M", 28, 112, DriveGiven::Centre, 593.2211587565, 1, "requested,makers_tip_differs exact,makers_tip_differs"},
      {"5M", 13, 40, DriveGiven::BeltTeeth, 100, 1, "belt,pulley_below_stock"},
      {"T20", 20, 20, DriveGiven::BeltTeeth, 100, 1, "belt,offset_unconfirmed"},
      {"AT5", 20, 20, DriveGiven::BeltTeeth, 100, 1, "belt,offset_unconfirmed"},
      {"5M", 1, 1, DriveGiven::BeltTeeth, 2, 1, "belt,few_teeth_in_mesh,pulley_below_stock"},
      {"14M", 28, 112, DriveGiven::Centre, 593.2211587565, 5, "requested,makers_tip_differs shorter,makers_tip_differs longer,makers_tip_differs"},
      {"3M", 10, 10, DriveGiven::BeltTeeth, 30, 1, "belt,few_teeth_in_mesh"},
      {"3M", 12, 12, DriveGiven::BeltTeeth, 30, 1, "belt"},
      {"14M", 29, 112, DriveGiven::BeltTeeth, 160, 1, "belt"},
      {"8M", 34, 90, DriveGiven::BeltTeeth, 160, 1, "belt,makers_tip_differs"},
      {"8M", 35, 90, DriveGiven::BeltTeeth, 160, 1, "belt"},
      // Near the smallest centre the belt next below is the larger pulley's circumference, which
      // fits nowhere: no shorter belt, and the longer one after it.
      {"5M", 20, 40, DriveGiven::Centre, 15.915495, 1, "requested,few_teeth_in_mesh,tips_touch,no_shorter_belt longer,few_teeth_in_mesh,tips_touch"},
      {"5M", 20, 20, DriveGiven::Centre, 1e-9, 1, "requested,tips_touch,no_shorter_belt longer,tips_touch"},
      {"5M", 20, 20, DriveGiven::Centre, 1e-9, 4, "requested,tips_touch,no_shorter_belt longer,tips_touch"},
  };
  // clang-format on
  for (const Case& c : cases) {
    const DriveSolution drive =
        SolveDrive({pair(c.profile, c.z1, c.z2), c.given, c.value, c.increment});
    EXPECT_EQ(describe(drive), c.expected) << c.profile << " " << c.value;
  }
  const DriveSolution byFive = SolveDrive({pair("14M", 28, 112), DriveGiven::Centre, 600, 5});
  EXPECT_EQ(byFive.rows[1].beltTeeth * 1000 + byFive.rows[2].beltTeeth, 155160);
}

// Centres from 1e-4 down to 1e-16 (relative) above the smallest: the rows after the requested one
// are distinct whole belts in multiples of the increment, each longer than the larger pulley's
// circumference and fitted at its own exact centre, the longer one always there.
TEST(BeltDrive, OffersStockBeltsRightUpToTheSmallestCentre) {
  const struct {
    const char* profile;
    long z1, z2, increment;
  } drives[] = {{"5M", 20, 40, 1}, {"XL", 10, 11, 1}, {"14M", 28, 112, 5}, {"5M", 20, 20, 1}};
  for (const auto& d : drives) {
    const PulleyPair pulleys = pair(d.profile, d.z1, d.z2);
    const double pitch = pulleys.profile->pitch;
    const double limit = std::fabs(static_cast<double>(d.z2 - d.z1)) * pitch / std::acos(-1.0) / 2;
    for (double above = 1e-4; above >= 1e-16; above /= 1.5) {
      const double centre =
          d.z1 == d.z2 ? above : std::max(limit * (1 + above), std::nextafter(limit, 2 * limit));
      const DriveSolution drive = SolveDrive({pulleys, DriveGiven::Centre, centre, d.increment});
      ASSERT_FALSE(drive.failure) << d.profile << " " << centre;
      ASSERT_GE(drive.rows.size(), 2u);
      EXPECT_EQ(drive.rows.back().kind,
                drive.rows.size() == 2 && drive.rows[1].kind == "exact" ? "exact" : "longer")
          << d.profile << " " << above;
      EXPECT_EQ(drive.rows.front().has(DriveWarning::NoShorterBelt),
                drive.rows.size() == 2 && drive.rows[1].kind == "longer")
          << d.profile << " " << above;
      for (std::size_t i = 1; i < drive.rows.size(); ++i) {
        const DriveRow& row = drive.rows[i];
        EXPECT_GT(row.beltTeeth, static_cast<double>(std::max(d.z1, d.z2))) << above;
        EXPECT_EQ(std::fmod(row.beltTeeth, static_cast<double>(d.increment)), 0) << above;
        EXPECT_NEAR(BeltPitchLength(pulleys, row.centre), row.beltTeeth * pitch, 1e-9) << above;
        if (i > 1) {
          EXPECT_LT(drive.rows[i - 1].beltTeeth, row.beltTeeth) << above;
        }
      }
    }
  }
}

// Every figure of the catalogue against what its source publishes, written out apart from the
// catalogue: the pitch (in millimetres, or as a fraction of an inch), the pitch-line offset u
// with how sure it is, the fewest teeth commonly stocked, and up to how many teeth makers' tables
// give larger tips than D - 2u.
TEST(BeltProfiles, HoldTheFiguresTheirSourcesPublish) {
  using S = OffsetSource;
  const struct {
    const char* name;
    double pitchMm, pitchInchNumerator, pitchInchDenominator;
    double u;
    S status;
    int smallest, largerTips;
  } published[] = {
      // HTD: the calculator's table; 20M 2a = 4.318 (GEAR2000, HTD pulleys).
      {"3M", 3, 0, 1, 0.38, S::Confirmed, 10, 0},
      {"5M", 5, 0, 1, 0.57, S::Confirmed, 14, 0},
      {"8M", 8, 0, 1, 0.685, S::Confirmed, 22, 34},  // makers' 8M O.D.s up to 34 teeth
      {"14M", 14, 0, 1, 1.4, S::Confirmed, 28, 28},  // 28 teeth O.D. 122.12, not 121.98
      {"20M", 20, 0, 1, 2.159, S::Confirmed, 34, 0},
      // GT2-type: SDP/SI D265 through droftarts' Parametric Pulley.
      {"2GT", 2, 0, 1, 0.254, S::Confirmed, 9, 0},
      {"3GT", 3, 0, 1, 0.381, S::Confirmed, 9, 0},
      {"5GT", 5, 0, 1, 0.5715, S::Confirmed, 14, 0},
      // T: makers' O.D.s (2u about 0.53), EP-T5's table, SDP/SI D265; T20 commonly quoted.
      {"T2.5", 2.5, 0, 1, 0.265, S::Derived, 10, 0},
      {"T5", 5, 0, 1, 0.425, S::Derived, 10, 0},
      {"T10", 10, 0, 1, 0.93, S::Confirmed, 12, 0},
      {"T20", 20, 0, 1, 1.5, S::Unconfirmed, 15, 0},
      // AT: MISUMI eC801 (0.60 to 0.61), a vendor's AT10 table; AT20 commonly quoted.
      {"AT5", 5, 0, 1, 0.6, S::Derived, 15, 0},
      {"AT10", 10, 0, 1, 0.93, S::Derived, 14, 0},
      {"AT20", 20, 0, 1, 1.5, S::Unconfirmed, 18, 0},
      // Inch: 0.080, 1/5, 3/8, 1/2 and 7/8 in; SDP/SI D265; H and XH 2u = 1.372 and 2.794 mm
      // (SATI catalogue, p. 164).
      {"MXL", 0, 2, 25, 0.254, S::Confirmed, 10, 0},
      {"XL", 0, 1, 5, 0.254, S::Confirmed, 10, 0},
      {"L", 0, 3, 8, 0.381, S::Confirmed, 10, 0},
      {"H", 0, 1, 2, 0.686, S::Confirmed, 14, 0},
      {"XH", 0, 7, 8, 1.397, S::Confirmed, 18, 0},
      // 1 1/4 in; no published offset or smallest pulley.
      {"XXH", 0, 5, 4, 0, S::Unpublished, 0, 0},
  };
  ASSERT_EQ(std::size(published), BeltProfiles.size());
  for (std::size_t i = 0; i < BeltProfiles.size(); ++i) {
    const BeltProfile& profile = BeltProfiles[i];
    const auto& figures = published[i];
    EXPECT_EQ(profile.name, figures.name);
    const double pitch = figures.pitchMm != 0
                             ? figures.pitchMm
                             : figures.pitchInchNumerator * 25.4 / figures.pitchInchDenominator;
    EXPECT_NEAR(profile.pitch, pitch, 1e-12) << figures.name;
    EXPECT_EQ(profile.pitchLineOffset, figures.u) << figures.name;
    EXPECT_EQ(profile.offsetSource, figures.status) << figures.name;
    EXPECT_EQ(profile.smallestPulley, figures.smallest) << figures.name;
    EXPECT_EQ(profile.makersLargerTipUpTo, figures.largerTips) << figures.name;
  }
}

// What the load and the layouts rest on, as published: stock widths (ISO 13050 via
// transbelting.com Table 2 for HTD; Optibelt ZRP Table 5.13 p. 51 for T, AT and the inch belts,
// whose width codes are hundredths of an inch; XXH's one width from its IP-24 formula), tooth
// heights (ISO 13050 via transbelting.com Table 1; SDP/SI D265 p. T-15 Fig. 19; Belting
// Industries in inches) and the smallest flat idler on the back (BRECOflex). 0: none published.
TEST(BeltProfiles, HoldTheWidthsAndSectionsTheirSourcesPublish) {
  const struct {
    const char* name;
    std::vector<double> widths;
    double toothHeight, smallestBackIdler;
  } published[] = {
      {"3M", {6, 9, 15}, 1.21, 0},
      {"5M", {9, 15, 25}, 2.08, 0},
      {"8M", {20, 30, 50, 85}, 3.38, 0},
      {"14M", {40, 55, 85, 115, 170}, 6.02, 0},
      {"20M", {115, 170, 230, 290, 340}, 8.68, 0},
      {"2GT", {}, 0.76, 0},
      {"3GT", {}, 1.14, 0},
      {"5GT", {}, 1.93, 0},
      {"T2.5", {4, 6, 10}, 0.7, 18},
      {"T5", {6, 10, 16, 25}, 1.2, 30},
      {"T10", {16, 25, 32, 50}, 2.5, 60},
      {"T20", {32, 50, 75, 100}, 0, 120},
      {"AT5", {6, 10, 16, 25}, 0, 60},
      {"AT10", {16, 25, 32, 50}, 0, 120},
      {"AT20", {32, 50, 75, 100}, 0, 180},
      {"MXL", {0.125, 0.1875, 0.25}, 0.46, 15},
      {"XL", {0.25, 0.3125, 0.375}, 1.3, 30},
      {"L", {0.5, 0.75, 1}, 1.9, 60},
      {"H", {0.75, 2, 3}, 0.090 * 25.4, 80},
      {"XH", {2, 3, 4}, 0.250 * 25.4, 180},
      {"XXH", {5}, 0.375 * 25.4, 0},
  };
  ASSERT_EQ(std::size(published), BeltProfiles.size());
  for (std::size_t i = 0; i < BeltProfiles.size(); ++i) {
    const auto& figures = published[i];
    const BeltRating& rating = BeltRatingOf(BeltProfiles[i]);
    const BeltSection& section = BeltSectionOf(BeltProfiles[i]);
    EXPECT_EQ(BeltProfiles[i].name, figures.name);
    EXPECT_EQ(std::vector<double>(rating.widths.begin(), rating.widths.begin() + rating.widthCount),
              figures.widths)
        << figures.name;
    EXPECT_NEAR(section.toothHeight, figures.toothHeight, 1e-12) << figures.name;
    EXPECT_EQ(section.smallestBackIdler, figures.smallestBackIdler) << figures.name;
  }
}

TEST(BeltProfiles, FindsWhatAUserTypes) {
  const std::pair<const char*, const char*> cases[] = {
      {"5M", "5M"},   {"5m", "5M"},   {"HTD5M", "5M"}, {"htd 14m", "14M"}, {"HTD-8M", "8M"},
      {"GT2", "2GT"}, {"gt2", "2GT"}, {"2gt", "2GT"},  {"t2.5", "T2.5"},   {"xh", "XH"},
      {"HTDT5", ""},  {"HTD", ""},    {"15M", ""},     {"", ""},           {"5M ", ""}};
  for (const auto& [typed, found] : cases) {
    const BeltProfile* profile = FindBeltProfile(typed);
    EXPECT_EQ(profile == nullptr ? "" : profile->name, std::string_view(found)) << typed;
  }
  // The HTD rows and the calculator's list must give one pulley one tip diameter.
  EXPECT_EQ(FindBeltProfile("3M")->pitchLineOffset, 0.38);
  EXPECT_EQ(FindBeltProfile("14M")->pitchLineOffset, 1.4);
}

}  // namespace
}  // namespace korvale
