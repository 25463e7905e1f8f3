#include "ui/qt/windowing_system.h"

#include <cstdlib>

namespace korvale::ui::qt {

void preferX11WhereNoneIsChosen(bool platformChosenOnTheCommandLine) {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  const char* display = std::getenv("DISPLAY");
  if ((chosen == nullptr || *chosen == '\0') && !platformChosenOnTheCommandLine &&
      display != nullptr && *display != '\0') {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
}

}  // namespace korvale::ui::qt
