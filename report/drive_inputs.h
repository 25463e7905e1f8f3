#pragma once

#include <cstddef>
#include <string>

namespace korvale {

// The longest text, in characters, that a drive's box takes and its file keeps: far more than any
// figure needs, and what the file's reader takes back.
inline constexpr std::size_t kLongestDriveText = 1000;

// The belt-drive window's inputs carried from one run to the next, as the user left them: the
// texts exactly as they stood in their boxes, the choices by their names.
struct DriveInputs {
  std::string profile = "14M";   // a catalogue profile's name
  std::string z1 = "28";         // teeth of the driving pulley
  std::string z2 = "112";        // teeth of the driven pulley
  std::string given = "centre";  // what the value is: "centre", "belt" (teeth) or "length"
  std::string value = "600";
  std::string increment = "1";  // stock belts come in multiples of this many teeth
  std::string units = "mm";     // "mm" or "in"

  bool operator==(const DriveInputs& other) const {
    return profile == other.profile && z1 == other.z1 && z2 == other.z2 && given == other.given &&
           value == other.value && increment == other.increment && units == other.units;
  }
};

}  // namespace korvale
