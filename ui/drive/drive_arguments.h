#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/drive_inputs.h"

namespace korvale::ui {

// A drive handed to the drive window on the command line, in korvale-calc drive's own words
// ("14M 28 112 --centre 600"), checked by its rules and kept as the texts typed: the inputs, or
// nothing with korvale-calc's one-line reason. No words at all hand nothing over.
//   {"htd14m", "28", "112", "--centre=600.50"} -> 14M 28 112 centre "600.50" 1 mm
//   {"14M", "28"} -> "drive takes PROFILE Z1 Z2 and one of --centre C, --belt N, --length L"
struct DriveArguments {
  std::optional<DriveInputs> drive;
  std::string error;
};
DriveArguments readDriveArguments(const std::vector<std::string_view>& words);

}  // namespace korvale::ui
