#include "ui/drive_arguments.h"

#include "calc/calc_arguments.h"

namespace korvale::ui {

DriveArguments readDriveArguments(const std::vector<std::string_view>& words) {
  if (words.empty()) return {};
  std::vector<std::string_view> args = {"drive"};
  args.insert(args.end(), words.begin(), words.end());
  try {
    const calc::CalcArguments parsed = calc::ParseCalcArguments(args);
    if (parsed.command != calc::Command::Drive || parsed.format != calc::Format::Text) {
      throw calc::UsageError("a drive takes PROFILE Z1 Z2 and --centre, --belt or --length");
    }
    DriveInputs drive;
    drive.profile = std::string(parsed.profile->name);
    drive.z1 = std::to_string(parsed.z1);
    drive.z2 = std::to_string(parsed.z2);
    drive.units = parsed.inch ? "in" : "mm";
    drive.increment = std::to_string(parsed.increment);
    drive.given = parsed.given == DriveGiven::Centre      ? "centre"
                  : parsed.given == DriveGiven::BeltTeeth ? "belt"
                                                          : "length";
    // The value as it was typed, in the units it was typed in.
    for (std::size_t i = 0; i < words.size(); ++i) {
      for (const std::string_view name : {"--centre", "--center", "--belt", "--length"}) {
        if (words[i] == name && i + 1 < words.size()) drive.value = std::string(words[i + 1]);
        if (words[i].rfind(std::string(name) + "=", 0) == 0) {
          drive.value = std::string(words[i].substr(name.size() + 1));
        }
      }
    }
    return {drive, {}};
  } catch (const calc::UsageError& error) {
    return {std::nullopt, error.what()};
  }
}

}  // namespace korvale::ui
