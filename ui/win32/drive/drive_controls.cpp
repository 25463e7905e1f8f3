#include "ui/win32/drive/drive_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "text_encoding/utf16.h"
#include "ui/drive/drive_words.h"
#include "ui/win32/drive/drive_canvas.h"
#include "ui/win32/resource.h"

namespace korvale::ui::win32 {
namespace {

using platform::toWide;

// The inputs in reading order, which is the tab order, each after the label that names it.
constexpr const auto& kInputs = kDriveInputs;
constexpr const auto& kColumns = kDriveColumns;
// Two identifiers to each input (its label's and its own), then the other controls.
static_assert(IDC_DRIVE_FIRST + 2 * static_cast<int>(DriveField::RatedPower) + 1 < kDriveCopyId);
static_assert(kDriveCopyId == IDC_DRIVE_FIRST + 40);

BOOL CALLBACK setFontOf(HWND control, LPARAM font) {
  SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return TRUE;
}

std::wstring windowText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The height a label's lines take at this width, wrapped as the label wraps them.
int linesHeight(HWND label, int width, HFONT font) {
  const std::wstring text = windowText(label);
  HDC dc = GetDC(label);
  const HGDIOBJ old = SelectObject(dc, font);
  RECT area{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return static_cast<int>(area.bottom);
}

LRESULT stringWidth(HWND rows, const wchar_t* text) {
  return SendMessageW(rows, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

int driveControlId(DriveField field) {
  return IDC_DRIVE_FIRST + 2 * static_cast<int>(field) + 1;
}

bool isDriveList(DriveField field) {
  return field == DriveField::Profile || field == DriveField::Given || field == DriveField::Units;
}

DriveControls createDriveControls(HWND window, HINSTANCE instance, Language language,
                                  AccessibleNames& names) {
  const auto child = [&](const wchar_t* windowClass, const std::string& text, DWORD style, int id,
                         DWORD extended = 0) {
    return CreateWindowExW(extended, windowClass, toWide(text).c_str(),
                           WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  DriveControls controls;
  for (const auto& [field, word] : kInputs) {
    if (field == kInputs[kFirstLoadInput].first) {
      controls.load = child(L"BUTTON", std::string(driveWord(DriveWord::Load, language)),
                            BS_GROUPBOX, IDC_DRIVE_FIRST + 46);
    }
    controls.labels.push_back(child(L"STATIC", std::string(driveWord(word, language)), SS_LEFT,
                                    driveControlId(field) - 1));
    HWND input = isDriveList(field)
                     ? child(L"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                             driveControlId(field))
                     : child(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, driveControlId(field),
                             WS_EX_CLIENTEDGE);
    controls.inputs[field] = input;
    names.name(input, toWide(driveName(word, language)));
  }
  const auto fill = [&](DriveField field, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
      SendMessageW(controls.inputs.at(field), CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(toWide(entry).c_str()));
    }
  };
  fill(DriveField::Profile, DriveForm::profileEntries());
  fill(DriveField::Given, {std::string(driveWord(DriveWord::GivenCentre, language)),
                           std::string(driveWord(DriveWord::GivenBelt, language)),
                           std::string(driveWord(DriveWord::GivenLength, language))});
  fill(DriveField::Units, {"mm", "in"});
  controls.copy = child(L"BUTTON", std::string(driveWord(DriveWord::Copy, language)),
                        WS_TABSTOP | BS_PUSHBUTTON, kDriveCopyId);
  controls.results = child(L"BUTTON", std::string(driveWord(DriveWord::Results, language)),
                           BS_GROUPBOX, IDC_DRIVE_FIRST + 41);
  controls.summary = child(L"STATIC", "", SS_LEFT | SS_NOPREFIX, IDC_DRIVE_FIRST + 42);
  controls.rows =
      child(WC_LISTVIEWW, "", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
            IDC_DRIVE_FIRST + 43, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(controls.rows, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (std::size_t c = 0; c < std::size(kColumns); ++c) {
    const std::wstring heading = toWide(driveWord(kColumns[c], language));
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    column.pszText = const_cast<wchar_t*>(heading.c_str());
    SendMessageW(controls.rows, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  names.name(controls.rows, toWide(driveWord(DriveWord::UseBelt, language)));
  controls.notes = child(L"STATIC", "", SS_LEFT | SS_NOPREFIX, IDC_DRIVE_FIRST + 44);
  controls.loadNotes = child(L"STATIC", "", SS_LEFT | SS_NOPREFIX, IDC_DRIVE_FIRST + 47);
  controls.canvas = createDriveCanvas(window, instance, IDC_DRIVE_FIRST + 45);
  names.name(controls.canvas, toWide(driveName(DriveWord::Drawing, language)));
  return controls;
}

DriveTextHeights neededTextHeights(const DriveControls& controls, HFONT font) {
  RECT box{};
  GetClientRect(controls.notes, &box);
  return {linesHeight(controls.summary, box.right, font),
          linesHeight(controls.notes, box.right, font),
          linesHeight(controls.loadNotes, box.right, font)};
}

DriveTextHeights placeDriveControls(HWND window, const DriveControls& controls, int dpi,
                                    HFONT font) {
  const auto px = [dpi](int logical) { return MulDiv(logical, dpi, 96); };
  EnumChildWindows(window, setFontOf, reinterpret_cast<LPARAM>(font));
  RECT client{};
  GetClientRect(window, &client);
  const int margin = px(10), row = px(28), labelWidth = px(170), inputWidth = px(130);
  int y = margin;
  int loadTop = 0;
  for (std::size_t i = 0; i < std::size(kInputs); ++i) {
    // The load's inputs sit in their group, indented by its frame.
    const int indent = i >= kFirstLoadInput ? px(10) : 0;
    if (i == kFirstLoadInput) {
      loadTop = y;
      y += px(20);
    }
    MoveWindow(controls.labels[i], margin + indent, y + px(4), labelWidth - indent, px(18), FALSE);
    const DriveField field = kInputs[i].first;
    MoveWindow(controls.inputs.at(field), margin + labelWidth, y, inputWidth - indent,
               isDriveList(field) ? px(200) : px(23), FALSE);
    y += row;
  }
  MoveWindow(controls.load, margin, loadTop, labelWidth + inputWidth, y - loadTop + px(4), FALSE);
  y += px(10);
  MoveWindow(controls.copy, margin, y + px(4), labelWidth + inputWidth, px(26), FALSE);
  const int left = margin * 2 + labelWidth + inputWidth;
  const int width = std::max(px(200), static_cast<int>(client.right) - left - margin);
  // A Chinese face may be taller than the window's own: the summary and the notes take the lines
  // their texts need.
  const DriveTextHeights heights{linesHeight(controls.summary, width - px(20), font),
                                 linesHeight(controls.notes, width - px(20), font),
                                 linesHeight(controls.loadNotes, width - px(20), font)};
  const int rowsTop = margin + px(16) + std::max(px(48), heights.summary);
  // The rows' list has room for its heading, three rows and a horizontal scroll bar, which a
  // load's columns bring on a narrow window.
  const int rowsHeight = px(96) + px(18);
  const int notesTop = rowsTop + rowsHeight + px(4);
  const int notesHeight = std::max(px(64), heights.notes);
  const int loadNotesTop = notesTop + notesHeight + px(6);
  const int resultsHeight =
      std::max(y + px(54) - margin, loadNotesTop + heights.load + px(14) - margin);
  MoveWindow(controls.results, left, margin - px(4), width, resultsHeight, FALSE);
  MoveWindow(controls.summary, left + px(10), margin + px(14), width - px(20),
             rowsTop - margin - px(16), FALSE);
  MoveWindow(controls.rows, left + px(10), rowsTop, width - px(20), rowsHeight, FALSE);
  MoveWindow(controls.notes, left + px(10), notesTop, width - px(20), notesHeight, FALSE);
  MoveWindow(controls.loadNotes, left + px(10), loadNotesTop, width - px(20),
             margin + resultsHeight - px(10) - loadNotesTop, FALSE);
  const int top = margin + resultsHeight;
  MoveWindow(controls.canvas, margin, top, std::max(0, static_cast<int>(client.right) - 2 * margin),
             std::max(0, static_cast<int>(client.bottom) - top - margin), FALSE);
  InvalidateRect(window, nullptr, TRUE);
  return heights;
}

void showDriveRows(HWND rows, const report::DriveText& results, const report::LoadText* load,
                   Language language, int dpi) {
  ListView_DeleteAllItems(rows);
  std::vector<std::wstring> headings;
  for (std::size_t c = 0; c < std::size(kColumns); ++c) {
    std::string heading(driveWord(kColumns[c], language));
    if (c >= 1 && c <= 3) heading += " (" + results.unit + ")";
    if (c == kFirstLoadColumn && load != nullptr) heading += " (" + load->widthUnit + ")";
    headings.push_back(toWide(heading));
    LVCOLUMNW update{};
    update.mask = LVCF_TEXT;
    update.pszText = headings.back().data();
    SendMessageW(rows, LVM_SETCOLUMNW, c, reinterpret_cast<LPARAM>(&update));
  }
  // A heading has the header's own margins and its sort arrow's room besides.
  std::vector<LRESULT> widest;
  for (const std::wstring& heading : headings) {
    widest.push_back(stringWidth(rows, heading.c_str()) + MulDiv(6, dpi, 96));
  }
  for (std::size_t r = 0; r < results.rows.size(); ++r) {
    const report::DriveTextRow& row = results.rows[r];
    const report::LoadTextRow none{};
    const report::LoadTextRow& l = load != nullptr ? load->rows[r] : none;
    const std::string cells[] = {std::string(driveCase(row.kind, language)),
                                 row.centre,
                                 row.change,
                                 row.length,
                                 row.beltTeeth,
                                 row.wrap1,
                                 row.wrap2,
                                 row.mesh1,
                                 row.mesh2,
                                 l.width,
                                 l.rated,
                                 l.margin,
                                 l.tStatic,
                                 l.tTight,
                                 l.tSlack,
                                 l.frequency,
                                 l.hubStatic,
                                 l.hubRunning};
    for (std::size_t c = 0; c < std::size(cells); ++c) {
      std::wstring cell = toWide(cells[c]);
      widest[c] = std::max(widest[c], stringWidth(rows, cell.c_str()));
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(r);
      item.iSubItem = static_cast<int>(c);
      item.pszText = cell.data();
      SendMessageW(rows, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
  for (std::size_t c = 0; c < widest.size(); ++c) {
    const bool shown = c < kFirstLoadColumn || load != nullptr;
    ListView_SetColumnWidth(rows, static_cast<int>(c),
                            shown ? static_cast<int>(widest[c]) + MulDiv(14, dpi, 96) : 0);
  }
}

void widenToColumns(HWND window, HWND rows) {
  RECT list{};
  GetClientRect(rows, &list);
  int columns = 0;
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
    columns += ListView_GetColumnWidth(rows, c);
  }
  if (columns <= list.right) return;
  RECT frame{};
  GetWindowRect(window, &frame);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + columns - list.right,
               frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace korvale::ui::win32
