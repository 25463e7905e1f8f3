// The Linux program: the calculator window on Qt, its inputs kept beside the executable.
#include <QApplication>

#include "ui/qt/calculator_window.h"
#include "ui/qt/termination_signals.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  korvale::ui::qt::CalculatorWindow window{korvale::StateFile()};
  korvale::ui::qt::closeOnTerminationSignals(window);
  window.show();
  return QApplication::exec();
}
