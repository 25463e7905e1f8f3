#include "ui/drive/drive_arguments.h"

#include "report/command_words.h"

namespace korvale::ui {

DriveArguments readDriveArguments(const std::vector<std::string_view>& words) {
  if (words.empty()) return {};
  std::vector<std::string_view> args = {"drive"};
  args.insert(args.end(), words.begin(), words.end());
  try {
    const report::CommandWords command = report::SplitCommandWords(args);
    // A window shows the drive: it takes no output format and prints no help or version.
    const bool text =
        !command.format || report::FormatNamed(*command.format) == report::Format::Text;
    const bool inch = command.units && report::InchesNamed(*command.units);
    if (command.help || command.version || !text) {
      throw report::InputError{"a drive takes PROFILE Z1 Z2 and --centre, --belt or --length"};
    }
    return {report::ReadDriveWords(command, inch).inputs, {}};
  } catch (const report::InputError& error) {
    return {std::nullopt, error.message};
  }
}

}  // namespace korvale::ui
