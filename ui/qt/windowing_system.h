#pragma once

namespace korvale::ui::qt {

// Only an X window can be kept above the others: Wayland gives ordinary programs no way to. So
// where the user chose no windowing system (QT_QPA_PLATFORM unset or empty, no -platform) and an
// X display is reachable (XWayland runs on every mainstream Wayland desktop), the window opens
// there. Called before the application object is made.
void preferX11WhereNoneIsChosen(bool platformChosenOnTheCommandLine);

}  // namespace korvale::ui::qt

namespace korvale::ui::qt {

// While it lives (around the application object's making), a windowing system that cannot be
// reached ends the program with one line on standard error, "korvale: no display could be
// opened", and exit status 1, where Qt would print a paragraph and abort. Qt's other messages of
// that time go out as usual once it is over.
class EndIfNoDisplay {
 public:
  EndIfNoDisplay();
  ~EndIfNoDisplay();
  EndIfNoDisplay(const EndIfNoDisplay&) = delete;
  EndIfNoDisplay& operator=(const EndIfNoDisplay&) = delete;
};

}  // namespace korvale::ui::qt
