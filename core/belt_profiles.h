#pragma once

#include <array>
#include <string_view>

namespace korvale {

// Where a profile's pitch-line offset comes from. Only a confirmed offset gives a tip diameter
// shown without a mark; derived and unconfirmed ones are flagged wherever a Da rests on them.
enum class OffsetSource {
  Confirmed,    // stated by a published table
  Derived,      // worked back from a vendor's pitch and outside diameters
  Unconfirmed,  // a commonly quoted figure no source at hand states
  Unpublished,  // no source at hand gives one: no Da is shown at all
};

// One belt profile of the catalogue. Lengths in millimetres; the pitch is exact (the inch
// profiles' pitches are exact in millimetres too: 1/5 in is 5.08 mm).
struct BeltProfile {
  std::string_view name;    // "5M", "T2.5", "XL": what the user types and the output shows
  std::string_view family;  // "HTD", "GT2-type", "T (DIN 7721)", "AT", "inch"
  double pitch;
  double pitchLineOffset;  // u: tip diameter Da = D - 2u
  double beltHeight;       // for information; no result depends on it
  int smallestPulley;      // the fewest teeth commonly stocked (catalogue guidance, not a
                           // standard); 0 where no source at hand says
  OffsetSource offsetSource;
  std::string_view source;  // where u was read, in a few words
  // Up to this many teeth, makers' tables give outside diameters larger than D - 2u (they cut
  // the tips of small pulleys larger); 0 where no table at hand shows it.
  int makersLargerTipUpTo = 0;
};

inline constexpr std::size_t kBeltProfileCount = 21;
extern const std::array<BeltProfile, kBeltProfileCount> BeltProfiles;

// The profile a user means, or nullptr. Case does not matter; an "HTD" prefix (with or without a
// space or hyphen) is accepted for the HTD profiles and "GT2" stands for 2GT:
//   "5m" -> 5M   "HTD 14M" -> 14M   "gt2" -> 2GT   "t2.5" -> T2.5   "HTDT5" -> nullptr
const BeltProfile* FindBeltProfile(std::string_view name);

}  // namespace korvale
