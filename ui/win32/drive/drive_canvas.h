#pragma once

#include <windows.h>

#include <vector>

#include "ui/drive/drive_drawing.h"

// The drive's drawing as a child window of its own: it paints the shapes it was last given, to
// scale, as large as it is, with GDI at the window's DPI.
namespace korvale::ui::win32 {

HWND createDriveCanvas(HWND parent, HINSTANCE instance, int id);

// The shapes to paint from now on, and the DPI their pens are scaled to; repainted at once.
void showDriveShapes(HWND canvas, std::vector<DriveShape> shapes, int dpi);

}  // namespace korvale::ui::win32
