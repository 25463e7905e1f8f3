#pragma once

#include <string>

namespace korvale::ui::qt {

// What korvale's command line asks for before any window opens.
struct CommandLine {
  enum class Action { OpenWindow, PrintVersion, PrintUsage, Refuse };
  Action action = Action::OpenWindow;
  std::string text;             // to print: the version, the usage, or the one-line error
  bool platformChosen = false;  // Qt's -platform was given
};

// Reads the arguments: --version (-v) and --help (-h) of its own, Qt's standard options (-platform
// NAME, -style NAME, -reverse...; with one dash or two) left for Qt, anything else refused.
// {"korvale", "--version"} -> PrintVersion, "korvale 1.00"; {"korvale", "-style", "Fusion"} ->
// OpenWindow; {"korvale", "--frobnicate"} -> Refuse, "korvale: unknown option '--frobnicate'...".
CommandLine readCommandLine(int argc, const char* const* argv, const std::string& version);

}  // namespace korvale::ui::qt
