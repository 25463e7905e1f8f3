#include "core/belt_profiles.h"

#include <cctype>

#include "core/profile_table.h"

namespace korvale {
namespace {

constexpr double offsetOfListEntry(std::size_t row) {
  return ProfileTable[row][kPitchLineOffsetColumn];
}

}  // namespace

// Sources of the offsets u (figures read in them). Belt heights (back to tooth tip) are the usual
// published ones; a roller on the belt's back rests on them (core/belt_sections.cpp). The inch
// sections' L, H, XH and XXH heights are Belting Industries' 0.14, 0.16, 0.44 and 0.62 in
// (beltingindustries.com, "Synchronous belts", standard belt sections).
// - HTD 3M to 14M: the calculator's own table, so that one pulley shows one Da in every view.
//   Published values differ by at most 0.063 mm: 0.381, 0.5715, 0.6858 (Parametric Pulley for
//   OpenSCAD by droftarts, thingiverse thing:16627, checked against SDP/SI catalogue D265) and
//   2a = 0.760, 1.140, 1.362, 2.674 mm (GEAR2000 help, HTD pulleys, camsoft.it). Belt heights
//   2.4, 3.8, 6 and 10 mm are the calculator table's own too.
// - HTD 20M: 2a = 4.318 mm in the same GEAR2000 table, which also lists 34 to 216 teeth.
// - 2GT, 3GT, 5GT: 0.254, 0.381, 0.5715 (droftarts' Parametric Pulley, from SDP/SI D265).
// - MXL, XL: 0.254; L (3/8 in pitch): 0.381; T10: 0.93 (the same Parametric Pulley table).
// - H and XH: pitch-line differentials 2u = 1.372 and 2.794 mm stated outright in the SATI drive
//   catalogue's pulley tables, p. 164.
// - T5: 0.425 from a vendor's table of T5 pulleys (China Timing Pulley EP-T5: 12 teeth P.D.
//   19.10, O.D. 18.25; 18 teeth 28.65, 27.80), 0.42 to 0.435 across its sizes.
// - T2.5: 0.265, worked back from makers' outside diameters: the SATI catalogue's T2.5 pulleys
//   give 2u of about 0.53 mm, and the curve droftarts' Parametric Pulley fits to SDP/SI's T2.5
//   outside diameters gives 0.26 to 0.265 from 20 to 40 teeth. The 0.3 of DIN 7721 pulley tables
//   quoted at second hand was not found in any table at hand.
// - AT5: 0.6 from MISUMI's AT5 pulley table (eC801: 15 teeth P.D. 23.87, O.D. 22.65; 24 teeth
//   38.2, 37): 0.61 and 0.60, the spread of figures given to two decimals, so 0.6 is kept. AT10
//   0.93 in the same way from a vendor's AT10 table.
// - T20, AT20 1.5: commonly quoted, not found in a source at hand, and so flagged.
// - XXH (1 1/4 in pitch): its belt height 0.62 in is in Belting Industries' table of standard belt
//   sections (beltingindustries.com, "Synchronous belts"); no source at hand gives its pitch-line
//   differential or its smallest stock pulley, so no XXH pulley is given a Da.
// Small pulleys: two makers' 14M tables give 28 teeth an O.D. of 122.12 mm where D - 2u is
// 121.98, and their 8M tables do the like for 32 to 34 teeth; the calculator's constants stay,
// and such pulleys are flagged (makersLargerTipUpTo).
const std::array<BeltProfile, kBeltProfileCount> BeltProfiles = {{
    // name    family          pitch   u                     height  smallest  u is
    {"3M", "HTD", 3, offsetOfListEntry(1), 2.4, 10, OffsetSource::Confirmed, "calculator table"},
    {"5M", "HTD", 5, offsetOfListEntry(2), 3.8, 14, OffsetSource::Confirmed, "calculator table"},
    {"8M", "HTD", 8, offsetOfListEntry(3), 6, 22, OffsetSource::Confirmed, "calculator table", 34},
    {"14M", "HTD", 14, offsetOfListEntry(4), 10, 28, OffsetSource::Confirmed, "calculator table",
     28},
    {"20M", "HTD", 20, 2.159, 13.2, 34, OffsetSource::Confirmed, "GEAR2000 HTD table"},
    {"2GT", "GT2-type", 2, 0.254, 1.52, 9, OffsetSource::Confirmed, "SDP/SI D265"},
    {"3GT", "GT2-type", 3, 0.381, 2.41, 9, OffsetSource::Confirmed, "SDP/SI D265"},
    {"5GT", "GT2-type", 5, 0.5715, 3.81, 14, OffsetSource::Confirmed, "SDP/SI D265"},
    {"T2.5", "T (DIN 7721)", 2.5, 0.265, 1.3, 10, OffsetSource::Derived, "makers' O.D. tables"},
    {"T5", "T (DIN 7721)", 5, 0.425, 2.2, 10, OffsetSource::Derived, "vendor P.D./O.D. table"},
    {"T10", "T (DIN 7721)", 10, 0.93, 4.5, 12, OffsetSource::Confirmed, "SDP/SI D265"},
    {"T20", "T (DIN 7721)", 20, 1.5, 8, 15, OffsetSource::Unconfirmed, "commonly quoted"},
    {"AT5", "AT", 5, 0.6, 2.7, 15, OffsetSource::Derived, "MISUMI P.D./O.D. table"},
    {"AT10", "AT", 10, 0.93, 4.5, 14, OffsetSource::Derived, "vendor P.D./O.D. table"},
    {"AT20", "AT", 20, 1.5, 8, 18, OffsetSource::Unconfirmed, "commonly quoted"},
    {"MXL", "inch", 2.032, 0.254, 1.14, 10, OffsetSource::Confirmed, "SDP/SI D265"},
    {"XL", "inch", 5.08, 0.254, 2.3, 10, OffsetSource::Confirmed, "SDP/SI D265"},
    {"L", "inch", 9.525, 0.381, 3.556, 10, OffsetSource::Confirmed, "SDP/SI D265"},
    {"H", "inch", 12.7, 0.686, 4.064, 14, OffsetSource::Confirmed, "SATI catalogue p. 164"},
    {"XH", "inch", 22.225, 1.397, 11.176, 18, OffsetSource::Confirmed, "SATI catalogue p. 164"},
    {"XXH", "inch", 31.75, 0, 15.748, 0, OffsetSource::Unpublished, "none published"},
}};

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

const BeltProfile* byName(std::string_view name) {
  for (const BeltProfile& profile : BeltProfiles) {
    if (sameLetters(profile.name, name)) return &profile;
  }
  return nullptr;
}

}  // namespace

const BeltProfile* FindBeltProfile(std::string_view name) {
  if (sameLetters(name, "GT2")) return byName("2GT");
  if (name.size() > 3 && sameLetters(name.substr(0, 3), "HTD")) {
    std::string_view rest = name.substr(3);
    if (rest.front() == ' ' || rest.front() == '-') rest.remove_prefix(1);
    const BeltProfile* profile = byName(rest);
    return profile != nullptr && profile->family == "HTD" ? profile : nullptr;
  }
  return byName(name);
}

}  // namespace korvale
