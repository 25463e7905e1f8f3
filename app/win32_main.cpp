// The Windows program: the calculator window on Win32, its inputs kept beside Korvale.exe; with
// /drive (or --drive), and a drive after it if one is handed over, the belt-drive window.
#include <windows.h>

#include <string>
#include <vector>

#include "text_encoding/utf16.h"
#include "ui/drive/drive_arguments.h"
#include "ui/save_at_exit.h"
#include "ui/win32/calculator/calculator_window.h"
#include "ui/win32/command_line.h"
#include "ui/win32/drive/drive_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  const std::vector<std::string> words = korvale::ui::win32::commandLineWords(arguments);
  if (!words.empty() && (words.front() == "/drive" || words.front() == "--drive")) {
    // From the calculator's window menu: /drive /pulley PROFILE TEETH.
    const bool fromCalculator = words.size() == 4 && words[1] == "/pulley";
    const std::vector<std::string_view> drive(words.begin() + (fromCalculator ? 4 : 1),
                                              words.end());
    const korvale::ui::DriveArguments read = korvale::ui::readDriveArguments(drive);
    if (!read.error.empty()) {
      MessageBoxW(nullptr, korvale::platform::toWide("Korvale: " + read.error).c_str(), L"Korvale",
                  MB_OK | MB_ICONERROR);
      return 2;
    }
    auto window =
        korvale::ui::win32::DriveWindow::create(instance, korvale::DriveFile(), read.drive);
    if (!window) return 1;
    if (fromCalculator) window->takeDrivingPulley(words[2], words[3]);
    const korvale::ui::SaveAtExit saveAtExit(window->form());
    return window->runMessageLoop();
  }
  auto window = korvale::ui::win32::CalculatorWindow::create(instance, korvale::StateFile());
  if (!window) return 1;
  const korvale::ui::SaveAtExit saveAtExit(window->form());
  return window->runMessageLoop();
}
