// The Linux program: the calculator window on Qt, its inputs kept beside the executable (or, for
// an installed copy, in the user's configuration folder).
#include <cstdio>
#include <optional>

#include "ui/qt/application.h"
#include "ui/qt/calculator/calculator_window.h"
#include "ui/qt/command_line.h"
#include "ui/qt/drive/drive_window.h"
#include "ui/qt/termination_signals.h"
#include "ui/qt/windowing_system.h"
#include "ui/save_at_exit.h"

int main(int argc, char* argv[]) {
  using korvale::ui::qt::CommandLine;
  const CommandLine line = korvale::ui::qt::readCommandLine(argc, argv, KORVALE_VERSION);
  if (line.action != CommandLine::Action::OpenWindow &&
      line.action != CommandLine::Action::OpenDrive) {
    const bool refused = line.action == CommandLine::Action::Refuse;
    std::fputs(line.text.c_str(), refused ? stderr : stdout);
    return refused ? 2 : 0;
  }
  korvale::ui::qt::preferX11WhereNoneIsChosen(line.platformChosen);

  std::optional<korvale::ui::qt::EndIfNoDisplay> endIfNoDisplay(std::in_place);
  korvale::ui::qt::Application application(argc, argv);
  endIfNoDisplay.reset();
  QGuiApplication::setDesktopFileName("org.korvale.Korvale");
  if (line.action == CommandLine::Action::OpenDrive) {
    korvale::ui::qt::DriveWindow drive{korvale::DriveFile(), line.drive};
    const korvale::ui::SaveAtExit saveAtExit(drive.form());
    korvale::ui::qt::endOnTerminationSignals(drive, [&] { return drive.form().saveAtExit(); });
    drive.show();
    return QApplication::exec();
  }
  korvale::ui::qt::CalculatorWindow window{korvale::StateFile()};
  const korvale::ui::SaveAtExit saveAtExit(window.form());
  korvale::ui::qt::endOnTerminationSignals(window, [&] { return window.form().saveAtExit(); });
  window.show();
  return QApplication::exec();
}
