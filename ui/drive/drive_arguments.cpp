#include "ui/drive/drive_arguments.h"

#include "report/command_words.h"

namespace korvale::ui {

DriveArguments readDriveArguments(const std::vector<std::string_view>& words) {
  if (words.empty()) return {};
  std::vector<std::string_view> args = {"drive"};
  args.insert(args.end(), words.begin(), words.end());
  try {
    // A window shows the drive: it takes no output format and prints no help or version; the
    // words are checked in korvale-calc's order all the same.
    const report::InputError notADrive{
        "a drive takes PROFILE Z1 Z2 and --centre, --belt or --length"};
    const report::CommandWords command = report::SplitCommandWords(args);
    if (command.help || command.version) throw notADrive;
    const bool text =
        !command.format || report::FormatNamed(*command.format) == report::Format::Text;
    const bool inch = command.units && report::InchesNamed(*command.units);
    DriveInputs inputs = report::ReadDriveWords(command, inch).inputs;
    if (!text) throw notADrive;
    return {std::move(inputs), {}};
  } catch (const report::InputError& error) {
    return {std::nullopt, error.message};
  }
}

}  // namespace korvale::ui
