#include "ui/win32/calculator/calculator_controls.h"

#include "text_encoding/utf16.h"
#include "ui/win32/dpi_layout.h"

namespace korvale::ui::win32 {
namespace {

// Rows the pitch list shows when dropped down.
constexpr int kDroppedListRows = 4;

using platform::toWide;

// A closed drop-down combo box takes its height from its selection field, which follows the
// font; the field is made as tall as it takes for the closed box to have the described height.
// The borders around the field are the system's, and what CB_GETITEMHEIGHT reports back is not
// always what was set (Wine adds two), so the field is set, the box measured and the field
// corrected by the difference, a couple of steps at most.
void fitClosedHeight(HWND combo, int height) {
  LPARAM field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int attempt = 0; attempt < 4 && field > 0; ++attempt) {
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    RECT closed{};
    GetWindowRect(combo, &closed);
    const int difference = height - (closed.bottom - closed.top);
    if (difference == 0) return;
    field += difference;
  }
}

}  // namespace

int controlIdOf(ControlId id) {
  return IDC_COMBO1_1 + static_cast<int>(id);
}

std::map<ControlId, HWND> createCalculatorControls(HWND window, HINSTANCE instance,
                                                   Language language) {
  std::map<ControlId, HWND> controls;
  const WindowDescription& description = Form1Description();
  for (const ControlDescription& c : description.controls) {
    // The frame's controls are the window's children placed over the group box: a group box
    // passes no notifications on, so it cannot be their parent. layOut places and sizes them.
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD extendedStyle = 0;
    std::wstring text = toWide(captionOf(c.id, language));
    switch (c.kind) {
      case ControlKind::Label:
        style |= SS_LEFT;
        break;
      case ControlKind::TextBox:
        windowClass = L"EDIT";
        style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        extendedStyle = WS_EX_CLIENTEDGE;
        text.clear();  // the model's text is mirrored in below
        break;
      case ControlKind::DropDownComboBox:
        windowClass = L"COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        text.clear();
        break;
      case ControlKind::Frame:
        windowClass = L"BUTTON";
        style |= BS_GROUPBOX;
        break;
    }
    controls[c.id] = CreateWindowExW(
        extendedStyle, windowClass, text.c_str(), style, 0, 0, 0, 0, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlIdOf(c.id))), instance, nullptr);
  }

  HWND combo = controls.at(ControlId::Combo1_1);
  for (std::string_view entry : description.pitchListEntries) {
    const auto index =
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(entry).c_str()));
    SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), 0);
  }
  SendMessageW(combo, CB_LIMITTEXT, 0, 0);
  for (ControlId id : {ControlId::Text2_0, ControlId::Text1_0, ControlId::Text1_1}) {
    SendMessageW(controls.at(id), EM_SETLIMITTEXT, 0, 0);  // 0: as long as memory allows
  }

  // Z-order decides both Tab's order and which of two overlapping controls is drawn on top: the
  // focusable controls in tab order first, then the labels beneath them, the group box lowest.
  HWND previous = HWND_TOP;
  auto placeNext = [&previous](HWND control) {
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  };
  for (const ControlDescription* c : description.tabOrder()) placeNext(controls.at(c->id));
  for (const ControlDescription& c : description.controls) {
    if (c.kind == ControlKind::Label) placeNext(controls.at(c.id));
  }
  placeNext(controls.at(ControlId::Frame1));
  return controls;
}

void placeCalculatorControls(HWND window, const std::map<ControlId, HWND>& controls, int dpi,
                             HFONT regularFont, HFONT boldFont) {
  for (const ControlDescription& c : Form1Description().controls) {
    HWND handle = controls.at(c.id);
    SendMessageW(handle, WM_SETFONT,
                 reinterpret_cast<WPARAM>(c.font.weight >= 700 ? boldFont : regularFont), FALSE);
    const RECT bounds = controlRect(c, dpi);
    const int height = bounds.bottom - bounds.top;
    const bool dropDown = c.kind == ControlKind::DropDownComboBox;
    SetWindowPos(handle, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 dropDown ? height * (kDroppedListRows + 2) : height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (dropDown) fitClosedHeight(handle, height);
  }

  const SIZE client = clientSize(dpi);
  RECT outer{};
  RECT inner{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &inner);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left - inner.right + client.cx,
               outer.bottom - outer.top - inner.bottom + client.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, TRUE);
}

void centreOnWorkArea(HWND window) {
  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  SetWindowPos(window, nullptr, workArea.left + (workArea.right - workArea.left - width) / 2,
               workArea.top + (workArea.bottom - workArea.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace korvale::ui::win32
