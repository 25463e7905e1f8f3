#include "ui/qt/command_line.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "ui/drive/drive_arguments.h"

namespace korvale::ui::qt {
namespace {

// Qt's own options (QGuiApplication, QApplication and the xcb platform), which take a value...
constexpr std::string_view kQtOptionsWithValue[] = {"platform",
                                                    "platformpluginpath",
                                                    "platformtheme",
                                                    "plugin",
                                                    "qwindowgeometry",
                                                    "qwindowicon",
                                                    "qwindowtitle",
                                                    "session",
                                                    "style",
                                                    "stylesheet",
                                                    "display",
                                                    "geometry",
                                                    "title",
                                                    "icon",
                                                    "name",
                                                    "visual",
                                                    "ncols"};
// ...and which do not.
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb",     "dograb",
                                         "sync",    "cmap",        "testability"};

constexpr const char* kUsage =
    "Usage: korvale [option...]\n"
    "Pitch and tip diameters of toothed-belt pulleys, in a window that stays on top.\n"
    "\n"
    "  -h, --help           show this help and exit\n"
    "  -v, --version        show the version and exit\n"
    "  --drive [PROFILE Z1 Z2 --centre C | --belt N | --length L] [--increment K]\n"
    "          [--units mm|in]\n"
    "                       open the belt-drive window, with this drive if one is given\n"
    "\n"
    "Qt's standard options are understood as well, among them:\n"
    "  -platform NAME       the windowing system: xcb, or wayland (where the window cannot\n"
    "                       stay above others); xcb wherever an X display is reachable\n"
    "  -display DISPLAY     the X display to open the window on\n"
    "  -style NAME          the widget style, such as Fusion\n"
    "  -stylesheet FILE     a style sheet for the window\n"
    "  -reverse             lay the window out from right to left\n";

// The drive after --drive, checked by korvale-calc's own rules, and kept as the texts typed.
CommandLine driveLine(int argc, const char* const* argv, int first) {
  const DriveArguments read =
      readDriveArguments(std::vector<std::string_view>(argv + first, argv + argc));
  if (!read.error.empty()) {
    return {CommandLine::Action::Refuse, "korvale: " + read.error + "\n", false, {}};
  }
  return {CommandLine::Action::OpenDrive, {}, false, read.drive};
}

bool listed(const std::string_view* begin, const std::string_view* end, std::string_view name) {
  return std::find(begin, end, name) != end;
}

}  // namespace

CommandLine readCommandLine(int argc, const char* const* argv, const std::string& version) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--version" || argument == "-v") {
      return {CommandLine::Action::PrintVersion, "korvale " + version + "\n", false, {}};
    }
    if (argument == "--help" || argument == "-h") {
      return {CommandLine::Action::PrintUsage, kUsage, false, {}};
    }
    if (argument == "--drive") {
      CommandLine drive = driveLine(argc, argv, i + 1);
      drive.platformChosen = line.platformChosen;
      return drive;
    }
    std::string_view name = argument;
    if (name.rfind("--", 0) == 0) name.remove_prefix(1);
    if (name.size() > 1 && name[0] == '-') {
      name.remove_prefix(1);
      if (listed(std::begin(kQtFlags), std::end(kQtFlags), name)) continue;
      if (listed(std::begin(kQtOptionsWithValue), std::end(kQtOptionsWithValue), name) &&
          i + 1 < argc) {
        line.platformChosen = line.platformChosen || name == "platform";
        ++i;
        continue;
      }
    }
    return {CommandLine::Action::Refuse,
            "korvale: unknown option '" + std::string(argument) + "' (see korvale --help)\n",
            false,
            {}};
  }
  return line;
}

}  // namespace korvale::ui::qt
