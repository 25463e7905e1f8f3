// The Linux program: the calculator window on Qt, its inputs kept beside the executable.
#include "ui/qt/application.h"
#include "ui/qt/calculator_window.h"
#include "ui/qt/termination_signals.h"
#include "ui/save_at_exit.h"

int main(int argc, char* argv[]) {
  korvale::ui::qt::Application application(argc, argv);
  korvale::ui::qt::CalculatorWindow window{korvale::StateFile()};
  const korvale::ui::SaveAtExit saveAtExit(window.form());
  korvale::ui::qt::closeOnTerminationSignals(window);
  window.show();
  return QApplication::exec();
}
