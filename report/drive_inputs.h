#pragma once

#include <cstddef>
#include <string>

namespace korvale {

// The longest text, in characters, that a drive's box takes and its file keeps: far more than any
// figure needs, and what the file's reader takes back.
inline constexpr std::size_t kLongestDriveText = 1000;

// The load's texts as typed, all empty when no load is given: "2.2", "3hp", "" ...
struct LoadInputs {
  std::string power;   // kW, or with its unit: "2.2kW", "750W", "3hp"
  std::string torque;  // N·m on the driving shaft
  std::string rpm;     // of the driving pulley
  std::string serviceFactor;
  std::string width;       // in the profile's width unit
  std::string ratedPower;  // kW, the maker's rating at the width

  bool empty() const {
    return power.empty() && torque.empty() && rpm.empty() && serviceFactor.empty() &&
           width.empty() && ratedPower.empty();
  }
  bool operator==(const LoadInputs& other) const {
    return power == other.power && torque == other.torque && rpm == other.rpm &&
           serviceFactor == other.serviceFactor && width == other.width &&
           ratedPower == other.ratedPower;
  }
};

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
  LoadInputs load;

  bool operator==(const DriveInputs& other) const {
    return profile == other.profile && z1 == other.z1 && z2 == other.z2 && given == other.given &&
           value == other.value && increment == other.increment && units == other.units &&
           load == other.load;
  }
};

}  // namespace korvale
