#pragma once

#include <windows.h>

#include <map>

#include "ui/calculator/window_description.h"
#include "ui/win32/resource.h"

// The calculator window's controls as Win32 makes them from the window description: created,
// placed at a DPI, and the window centred. The window procedure only drives them.
namespace korvale::ui::win32 {

// The control identifier a control carries (IDC_...), as WM_COMMAND names it.
int controlIdOf(ControlId id);

// Every control of the description as a child of `window`, with its caption in `language`, the
// pitch list's entries, no length limit on the texts, and the Z-order that gives Tab's order.
std::map<ControlId, HWND> createCalculatorControls(HWND window, HINSTANCE instance,
                                                   Language language);

// Places every control, its font and the client area at a DPI, from the twips of the description.
void placeCalculatorControls(HWND window, const std::map<ControlId, HWND>& controls, int dpi,
                             HFONT regularFont, HFONT boldFont);

// Centres a window in the work area, clear of the taskbar.
void centreOnWorkArea(HWND window);

}  // namespace korvale::ui::win32
