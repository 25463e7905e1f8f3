#include "core/belt_sections.h"

#include <array>

namespace korvale {
namespace {

// Sources (figures read in them):
// - [ISO 13050] transbelting.com, HTD timing belts, "Table 1 Nominal tooth dimensions": ht 1.21,
//   2.08, 3.38, 6.02, 8.68 mm for 3M, 5M, 8M, 14M, 20M (hs 2.4, 3.8, 6.0, 10, 13.2, the
//   catalogue's heights).
// - [D265] SDP/SI handbook D265, p. T-15, Fig. 19 (belt tooth configuration): GT2 2 mm tooth 0.76
//   (belt 1.52), 3 mm 1.14 (2.41), 5 mm 1.93 (3.81); T2.5 0.7 (1.3), T5 1.2 (2.2), T10 2.5 (4.5);
//   MXL 0.46 (1.14), XL 1.3 (2.3), L 1.9 (3.56).
// - [Belting Industries] beltingindustries.com, "Synchronous belts", nominal tooth dimensions:
//   ht 0.090, 0.250, 0.375 in for H, XH, XXH (belt 0.16, 0.44, 0.62 in), kept as exact mm.
// - [BRECOflex] brecoflex.com, design guidelines, "Minimum pulley diameter": the smallest flat
//   idler with back bending, 18 mm for T2.5, 30 T5, 60 T10, 120 T20, 60 AT5, 120 AT10, 180 AT20,
//   15 MXL, 30 XL, 60 L, 80 H, 180 XH (for its polyurethane belts). No maker's figure for HTD,
//   GT2-type or XXH belts was at hand.
// No source at hand gives the tooth height of T20 or of the AT belts.
constexpr const char* kIso = "ISO 13050 (transbelting.com, Table 1)";
constexpr const char* kD265 = "SDP/SI D265 p. T-15, Fig. 19";
constexpr const char* kBelting = "Belting Industries, nominal tooth dimensions";
constexpr const char* kBreco = "BRECOflex, minimum pulley diameter";

// One profile a line, as the catalogue has them.
// clang-format off
const std::array<BeltSection, kBeltProfileCount> kSections = {{
    // profile  tooth height  source     smallest back idler  source
    {"3M", 1.21, kIso, 0, ""},
    {"5M", 2.08, kIso, 0, ""},
    {"8M", 3.38, kIso, 0, ""},
    {"14M", 6.02, kIso, 0, ""},
    {"20M", 8.68, kIso, 0, ""},
    {"2GT", 0.76, kD265, 0, ""},
    {"3GT", 1.14, kD265, 0, ""},
    {"5GT", 1.93, kD265, 0, ""},
    {"T2.5", 0.7, kD265, 18, kBreco},
    {"T5", 1.2, kD265, 30, kBreco},
    {"T10", 2.5, kD265, 60, kBreco},
    {"T20", 0, "", 120, kBreco},
    {"AT5", 0, "", 60, kBreco},
    {"AT10", 0, "", 120, kBreco},
    {"AT20", 0, "", 180, kBreco},
    {"MXL", 0.46, kD265, 15, kBreco},
    {"XL", 1.3, kD265, 30, kBreco},
    {"L", 1.9, kD265, 60, kBreco},
    {"H", 2.286, kBelting, 80, kBreco},
    {"XH", 6.35, kBelting, 180, kBreco},
    {"XXH", 9.525, kBelting, 0, ""},
}};
// clang-format on

}  // namespace

const BeltSection& BeltSectionOf(const BeltProfile& profile) {
  return kSections[static_cast<std::size_t>(&profile - BeltProfiles.data())];
}

std::optional<double> PitchRadiusOnRoller(const BeltProfile& profile, double diameter, bool back) {
  const BeltSection& section = BeltSectionOf(profile);
  if (!section.known() || profile.offsetSource == OffsetSource::Unpublished) return std::nullopt;
  const double u = profile.pitchLineOffset;
  return diameter / 2 +
         (back ? profile.beltHeight - section.toothHeight - u : section.toothHeight + u);
}

}  // namespace korvale
