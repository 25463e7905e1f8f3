#pragma once

#include <windows.h>

#include "ui/calculator/window_description.h"

// The window description in device pixels at a given DPI: what the Win32 window lays out at
// start-up and again whenever it moves to a monitor with another scale.
namespace korvale::ui::win32 {

// The DPI the window is shown at: its monitor's where the system tells it per window (Windows 10
// 1607 on), else the system's. 96 when nothing answers.
int dpiOfWindow(HWND window);

// A control's rectangle in the window's client area. The frame's controls are the window's own
// children placed over the group box, so their twips are the frame's plus their own, rounded
// once: Text1(0) at 144 DPI is {168, 240, 98, 38}.
RECT controlRect(const ControlDescription& control, int dpi);

// The client area: 210 x 225 at 96 DPI, 315 x 338 at 144.
SIZE clientSize(int dpi);

// The description's font at a DPI: 10.5 pt is a character height of 14 px at 96 DPI, 21 at 144.
// In English the face is the system's message-box font (Segoe UI, Tahoma) in any character set,
// at the same size and weight: asked for "宋体" in GB2312 where that face is missing, the font
// mapper may take any font that claims GB2312, some of which carry no Latin letters at all.
HFONT createFont(const FontDescription& font, int dpi, Language language);

}  // namespace korvale::ui::win32
