#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "report/drive_text.h"
#include "report/load_text.h"
#include "ui/drive/drive_form.h"
#include "ui/language.h"
#include "ui/win32/accessible_names.h"

// The drive window's controls as Win32 makes them: created, laid out at a DPI, and the results'
// rows filled. The window procedure only drives them.
namespace korvale::ui::win32 {

// The control identifier of an input (IDC_...), as WM_COMMAND names it; the Copy button's.
int driveControlId(DriveField field);
inline constexpr int kDriveCopyId = 241;
// Whether the input is a drop-down list (the profile, what is given, the units).
bool isDriveList(DriveField field);

struct DriveControls {
  std::map<DriveField, HWND> inputs;
  std::vector<HWND> labels;  // in the inputs' reading order
  HWND copy = nullptr;
  HWND results = nullptr;  // the group box
  HWND summary = nullptr;
  HWND rows = nullptr;  // the list view of the cases
  HWND notes = nullptr;
  HWND load = nullptr;       // the load inputs' group box
  HWND loadNotes = nullptr;  // the load's lines, or why its texts cannot be read
  HWND canvas = nullptr;
};

// Every control as a child of `window`, named for screen readers, the lists filled, in the
// reading order that is Tab's.
DriveControls createDriveControls(HWND window, HINSTANCE instance, Language language,
                                  AccessibleNames& names);

// What the summary's, the notes' and the load's lines took when the controls were last placed.
struct DriveTextHeights {
  int summary = 0;
  int notes = 0;
  int load = 0;
  bool operator!=(const DriveTextHeights& other) const {
    return summary != other.summary || notes != other.notes || load != other.load;
  }
};

// The heights the summary's and the notes' texts need at the width they have now.
DriveTextHeights neededTextHeights(const DriveControls& controls, HFONT font);

// Places the controls in pixels of 96 DPI scaled to `dpi`, in `font`: the inputs down the left,
// the results beside them (the group growing below the inputs when the summary and the notes
// need more lines than it has), the drawing filling what is left below.
DriveTextHeights placeDriveControls(HWND window, const DriveControls& controls, int dpi,
                                    HFONT font);

// The results' rows: each case's cells, the length headings in the drive's unit, and every
// column as wide as its widest text, heading included; the load's columns only with a load (none
// wide without one).
void showDriveRows(HWND rows, const report::DriveText& results, const report::LoadText* load,
                   Language language, int dpi);

// Makes the window wide enough for every column of the rows, where they are wider.
void widenToColumns(HWND window, HWND rows);

}  // namespace korvale::ui::win32
