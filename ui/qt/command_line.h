#pragma once

#include <optional>
#include <string>

#include "report/drive_inputs.h"

namespace korvale::ui::qt {

// What korvale's command line asks for before any window opens.
struct CommandLine {
  enum class Action { OpenWindow, OpenDrive, PrintVersion, PrintUsage, Refuse };
  Action action = Action::OpenWindow;
  std::string text;             // to print: the version, the usage, or the one-line error
  bool platformChosen = false;  // Qt's -platform was given
  // With OpenDrive: the drive handed over after --drive, as korvale-calc drive takes it; nothing
  // when --drive came alone and the window opens with the inputs it kept.
  std::optional<DriveInputs> drive;
};

// Reads the arguments: --version (-v) and --help (-h) of its own, Qt's standard options (-platform
// NAME, -style NAME, -reverse...; with one dash or two) left for Qt, anything else refused.
// {"korvale", "--version"} -> PrintVersion, "korvale 1.00"; {"korvale", "-style", "Fusion"} ->
// OpenWindow; {"korvale", "--frobnicate"} -> Refuse, "korvale: unknown option '--frobnicate'...".
// --drive opens the belt-drive window; what follows it is korvale-calc drive's arguments, checked
// as korvale-calc checks them: {"korvale", "--drive", "14M", "28", "112", "--centre", "600"}.
CommandLine readCommandLine(int argc, const char* const* argv, const std::string& version);

}  // namespace korvale::ui::qt
