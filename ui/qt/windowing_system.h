#pragma once

namespace korvale::ui::qt {

// Only an X window can be kept above the others: Wayland gives ordinary programs no way to. So
// where the user chose no windowing system (QT_QPA_PLATFORM unset or empty, no -platform) and an
// X display is reachable (XWayland runs on every mainstream Wayland desktop), the window opens
// there. Called before the application object is made.
void preferX11WhereNoneIsChosen(bool platformChosenOnTheCommandLine);

}  // namespace korvale::ui::qt
