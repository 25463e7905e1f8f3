// The Linux program: the calculator window on Qt, its inputs kept beside the executable (or, for
// an installed copy, in the user's configuration folder).
#include <cstdio>
#include <cstdlib>

#include "ui/qt/application.h"
#include "ui/qt/calculator_window.h"
#include "ui/qt/command_line.h"
#include "ui/qt/drive_window.h"
#include "ui/qt/termination_signals.h"
#include "ui/save_at_exit.h"

namespace {

// Only an X window can be kept above the others: Wayland gives ordinary programs no way to. So
// where the user chose no windowing system and an X display is reachable (XWayland runs on every
// mainstream Wayland desktop), the window opens there.
void preferX11(const korvale::ui::qt::CommandLine& line) {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  const char* display = std::getenv("DISPLAY");
  if ((chosen == nullptr || *chosen == '\0') && !line.platformChosen && display != nullptr &&
      *display != '\0') {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  using korvale::ui::qt::CommandLine;
  const CommandLine line = korvale::ui::qt::readCommandLine(argc, argv, KORVALE_VERSION);
  if (line.action != CommandLine::Action::OpenWindow &&
      line.action != CommandLine::Action::OpenDrive) {
    const bool refused = line.action == CommandLine::Action::Refuse;
    std::fputs(line.text.c_str(), refused ? stderr : stdout);
    return refused ? 2 : 0;
  }
  preferX11(line);

  korvale::ui::qt::Application application(argc, argv);
  QGuiApplication::setDesktopFileName("org.korvale.Korvale");
  if (line.action == CommandLine::Action::OpenDrive) {
    korvale::ui::qt::DriveWindow drive{korvale::DriveFile(), line.drive};
    const korvale::ui::SaveAtExit saveAtExit(drive.form());
    korvale::ui::qt::closeOnTerminationSignals(drive);
    drive.show();
    return QApplication::exec();
  }
  korvale::ui::qt::CalculatorWindow window{korvale::StateFile()};
  const korvale::ui::SaveAtExit saveAtExit(window.form());
  korvale::ui::qt::closeOnTerminationSignals(window);
  window.show();
  return QApplication::exec();
}
