#pragma once

#include <optional>
#include <string_view>

#include "core/belt_profiles.h"

namespace korvale {

// A belt's cross-section as a roller on either side of it meets it, in millimetres: the belt's
// thickness (back to tooth tip, the catalogue's belt height), its tooth height, and so where its
// pitch line runs: u above the tooth roots (the pitch-line offset), and so thickness − tooth height
// − u below its back. Zero where no source at hand gives a figure.
struct BeltSection {
  std::string_view profile;
  double toothHeight = 0;
  std::string_view source;  // of the tooth height (the thickness is the catalogue's)
  // The smallest flat idler on the belt's back that its maker allows; 0 where none is published.
  double smallestBackIdler = 0;
  std::string_view backIdlerSource;

  bool known() const { return toothHeight > 0; }
};

const BeltSection& BeltSectionOf(const BeltProfile& profile);

// Where the pitch line runs round a roller of `diameter` (mm) touching the belt: on the tooth side
// the belt rides on its tooth tips (radius + tooth height + u), on the back on its back (radius +
// thickness − tooth height − u). Nothing where the section is not published.
std::optional<double> PitchRadiusOnRoller(const BeltProfile& profile, double diameter, bool back);

}  // namespace korvale
