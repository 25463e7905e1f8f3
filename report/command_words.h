#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "report/drive_inputs.h"
#include "report/input_rules.h"

// The words of korvale-calc's command line, which the drive window takes after --drive as well.
namespace korvale::report {

// The words split into positional ones and the options, each as typed ("--centre=600" and
// "--centre 600" alike; "--center" is "--centre").
struct CommandWords {
  std::vector<std::string_view> positional;
  std::optional<std::string_view> format, units, centre, belt, length, increment;
  std::optional<std::string_view> power, torque, rpm, serviceFactor, width, ratedPower;
  bool help = false;
  bool version = false;
  bool loadOptions() const {
    return power || torque || rpm || serviceFactor || width || ratedPower;
  }
  bool driveOptions() const { return centre || belt || length || increment || loadOptions(); }
};

// Throws InputError for an option nobody knows or one that lacks its value.
CommandWords SplitCommandWords(const std::vector<std::string_view>& args);

// The drive the words give, after the command word: PROFILE Z1 Z2 and one of --centre, --belt,
// --length, with --increment for a centre, in the units given, then the load's options; checked
// in this order, each refusal in korvale-calc's words. The drive, and its inputs as a window keeps
// them (the value as typed, in the units it was typed in). Throws InputError.
//   drive htd14m 28 112 --centre=600.50 -> 14M 28/112 centre 600.5 mm; "14M" "28" "112" "600.50"
struct DriveWords {
  DriveOrder order;
  DriveInputs inputs;
};
DriveWords ReadDriveWords(const CommandWords& words, bool inch);

}  // namespace korvale::report
