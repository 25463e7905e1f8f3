#include "calc/calc_arguments.h"

#include <string>

#include "report/command_words.h"

namespace korvale::calc {
namespace {

using report::InputError;

[[noreturn]] void refuse(const std::string& message) {
  throw InputError{message};
}

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

TeethRange teethRange(std::string_view text) {
  const std::size_t dash = text.find('-', 1);
  if (dash == std::string_view::npos) {
    const long teeth = report::TeethCount("teeth", text);
    return {teeth, teeth};
  }
  const auto first = report::WholeNumber(text.substr(0, dash));
  const auto last = report::WholeNumber(text.substr(dash + 1));
  if (!first || !last)
    refuse("teeth " + quoted(text) + ": expected whole numbers from 1 to " +
           std::to_string(report::kMostTeeth) + " or a range such as 10-60");
  if (*first > *last) refuse("teeth " + quoted(text) + ": the range runs backwards");
  return {*first, *last};
}

}  // namespace

CalcArguments ParseCalcArguments(const std::vector<std::string_view>& args) {
  const report::CommandWords words = report::SplitCommandWords(args);
  CalcArguments parsed;
  if (words.help) return parsed;
  if (words.version) {
    parsed.command = Command::Version;
    return parsed;
  }
  if (words.format) parsed.format = report::FormatNamed(*words.format);
  if (words.units) parsed.inch = report::InchesNamed(*words.units);
  const std::vector<std::string_view>& positional = words.positional;
  if (positional.empty())
    refuse("no command: expected pulley, drive, profiles, widths or layout (see --help)");

  const std::string_view command = positional.front();
  if (command == "drive") {
    parsed.command = Command::Drive;
    const report::DriveOrder order = report::ReadDriveWords(words, parsed.inch).order;
    parsed.drive = order.request;
    parsed.load = order.load;
    return parsed;
  }
  if (command == "layout") {
    if (positional.size() != 2) refuse("layout takes FILE (- for standard input)");
    if (words.centre || words.loadOptions())
      refuse("--centre and the load's options apply to drive only");
    if (words.belt && words.length) refuse("layout takes one of --belt N, --length L");
    parsed.command = Command::Layout;
    parsed.layoutPath = std::string(positional[1]);
    if (words.belt)
      parsed.layoutBelt = static_cast<double>(report::TeethCount("--belt", *words.belt));
    if (words.length)
      parsed.layoutLength = report::PositiveLength("--length", *words.length, parsed.inch);
    if (words.increment)
      parsed.drive.increment = report::TeethCount("--increment", *words.increment);
    return parsed;
  }
  if (parsed.format == report::Format::Svg) refuse("--format svg draws a drive or a layout");
  if (command != "pulley" && command != "profiles" && command != "widths")
    refuse("unknown command " + quoted(command) +
           ": expected pulley, drive, profiles, widths or layout");
  if (words.driveOptions())
    refuse("--centre, --belt, --length, --increment and the load's options apply to drive only");
  if (command == "widths") {
    if (positional.size() != 2) refuse("widths takes PROFILE");
    parsed.command = Command::Widths;
    parsed.profile = &report::ProfileNamed(positional[1]);
    return parsed;
  }
  if (command == "profiles") {
    if (positional.size() > 1) refuse("profiles takes no arguments");
    parsed.command = Command::Profiles;
    return parsed;
  }
  parsed.command = Command::Pulley;
  if (positional.size() < 3) refuse("pulley takes PROFILE and one or more TEETH (12, 20-24)");
  parsed.profile = &report::ProfileNamed(positional[1]);
  for (std::size_t i = 2; i < positional.size(); ++i) {
    parsed.teeth.push_back(teethRange(positional[i]));
  }
  return parsed;
}

}  // namespace korvale::calc
