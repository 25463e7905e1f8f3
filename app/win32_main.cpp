// The Windows program: the calculator window on Win32, its inputs kept beside Korvale.exe.
#include <windows.h>

#include "ui/save_at_exit.h"
#include "ui/win32/calculator_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  auto window = korvale::ui::win32::CalculatorWindow::create(instance, korvale::StateFile());
  if (!window) return 1;
  const korvale::ui::SaveAtExit saveAtExit(window->form());
  return window->runMessageLoop();
}
