#include "ui/win32/drive_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "text_encoding/utf16.h"
#include "ui/drive_words.h"
#include "ui/win32/dpi_layout.h"
#include "ui/win32/resource.h"
#include "ui/win32/user_language.h"

namespace korvale::ui::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KorvaleDrive";
constexpr wchar_t kCanvasClass[] = L"KorvaleDriveCanvas";
// The window's font: the calculator's face, at the size of a dialog's text.
constexpr FontDescription kFont{"宋体", 9, 134, 400};

using platform::fromWide;
using platform::toWide;

// The inputs in reading order, which is the tab order, each after the label that names it.
constexpr std::pair<DriveField, DriveWord> kInputs[] = {
    {DriveField::Profile, DriveWord::Profile}, {DriveField::Z1, DriveWord::DrivingTeeth},
    {DriveField::Z2, DriveWord::DrivenTeeth},  {DriveField::Given, DriveWord::Given},
    {DriveField::Value, DriveWord::Value},     {DriveField::Increment, DriveWord::Increment},
    {DriveField::Units, DriveWord::Units}};
constexpr DriveWord kColumns[] = {DriveWord::Case,   DriveWord::Centre,    DriveWord::Change,
                                  DriveWord::Length, DriveWord::BeltTeeth, DriveWord::Wrap1,
                                  DriveWord::Wrap2,  DriveWord::Mesh1,     DriveWord::Mesh2};

bool isList(DriveField field) {
  return field == DriveField::Profile || field == DriveField::Given || field == DriveField::Units;
}

int idOf(DriveField field) {
  return IDC_DRIVE_FIRST + 2 * static_cast<int>(field) + 1;
}

constexpr int kCopyId = IDC_DRIVE_FIRST + 20;

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int background) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, name, &windowClass)) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KORVALE));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

BOOL CALLBACK setFontOf(HWND control, LPARAM font) {
  SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return TRUE;
}

std::string windowText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return fromWide(text);
}

}  // namespace

DriveWindow::DriveWindow(DriveFile file, std::optional<DriveInputs> handedOver,
                         ErrorReporter reporter, std::unique_ptr<AccessibleNames> names,
                         Language language)
    : form_(static_cast<DriveFrontEnd&>(*this), std::move(file), std::move(handedOver)),
      reporter_(reporter
                    ? std::move(reporter)
                    : ErrorReporter([](HWND owner, const std::wstring& title,
                                       const std::wstring& message) {
                        MessageBoxW(owner, message.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
                      })),
      names_(names ? std::move(names) : dynamicAnnotationNames()),
      language_(language) {}

DriveWindow::~DriveWindow() {
  for (const auto& [field, control] : inputs_) names_->forget(control);
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (font_ != nullptr) DeleteObject(font_);
}

std::unique_ptr<DriveWindow> DriveWindow::create(HINSTANCE instance, DriveFile file,
                                                 std::optional<DriveInputs> handedOver,
                                                 ErrorReporter reporter,
                                                 std::unique_ptr<AccessibleNames> names,
                                                 std::optional<Language> language) {
  INITCOMMONCONTROLSEX commonControls{sizeof commonControls,
                                      ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&commonControls);
  registerClass(instance, kWindowClass, windowProcedure, COLOR_BTNFACE);
  registerClass(instance, kCanvasClass, canvasProcedure, COLOR_WINDOW);
  std::unique_ptr<DriveWindow> self(new DriveWindow(std::move(file), std::move(handedOver),
                                                    std::move(reporter), std::move(names),
                                                    language ? *language : userLanguage()));
  const int dpi = dpiOfWindow(nullptr);
  self->window_ =
      CreateWindowExW(0, kWindowClass, toWide(driveWord(DriveWord::Title, self->language_)).c_str(),
                      WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, MulDiv(980, dpi, 96),
                      MulDiv(600, dpi, 96), nullptr, nullptr, instance, self.get());
  if (self->window_ == nullptr) return nullptr;
  self->dpi_ = dpiOfWindow(self->window_);
  self->buildControls(instance);
  // Laid out first, so that the columns are measured in the font they are drawn in.
  self->layOut();
  self->form_.load();
  self->mirror();
  self->widenToColumns();
  ShowWindow(self->window_, SW_SHOW);
  UpdateWindow(self->window_);
  SetFocus(self->input(DriveField::Profile));
  self->form_.windowShown();
  return self;
}

void DriveWindow::buildControls(HINSTANCE instance) {
  const auto child = [&](const wchar_t* windowClass, const std::string& text, DWORD style, int id,
                         DWORD extended = 0) {
    return CreateWindowExW(extended, windowClass, toWide(text).c_str(),
                           WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  for (const auto& [field, word] : kInputs) {
    labels_.push_back(
        child(L"STATIC", std::string(driveWord(word, language_)), SS_LEFT, idOf(field) - 1));
    HWND input =
        isList(field)
            ? child(L"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, idOf(field))
            : child(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, idOf(field), WS_EX_CLIENTEDGE);
    inputs_[field] = input;
    names_->name(input, toWide(driveName(word, language_)));
  }
  const auto fill = [&](DriveField field, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
      SendMessageW(input(field), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(entry).c_str()));
    }
  };
  fill(DriveField::Profile, DriveForm::profileEntries());
  fill(DriveField::Given, {std::string(driveWord(DriveWord::GivenCentre, language_)),
                           std::string(driveWord(DriveWord::GivenBelt, language_)),
                           std::string(driveWord(DriveWord::GivenLength, language_))});
  fill(DriveField::Units, {"mm", "in"});
  copy_ = child(L"BUTTON", std::string(driveWord(DriveWord::Copy, language_)),
                WS_TABSTOP | BS_PUSHBUTTON, kCopyId);
  results_ = child(L"BUTTON", std::string(driveWord(DriveWord::Results, language_)), BS_GROUPBOX,
                   IDC_DRIVE_FIRST + 21);
  summary_ = child(L"STATIC", "", SS_LEFT | SS_NOPREFIX, IDC_DRIVE_FIRST + 22);
  rows_ = child(WC_LISTVIEWW, "", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                IDC_DRIVE_FIRST + 23, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(rows_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (std::size_t c = 0; c < std::size(kColumns); ++c) {
    const std::wstring heading = toWide(driveWord(kColumns[c], language_));
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    column.pszText = const_cast<wchar_t*>(heading.c_str());
    SendMessageW(rows_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  names_->name(rows_, toWide(driveWord(DriveWord::UseBelt, language_)));
  notes_ = child(L"STATIC", "", SS_LEFT | SS_NOPREFIX, IDC_DRIVE_FIRST + 24);
  canvas_ = child(kCanvasClass, "", 0, IDC_DRIVE_FIRST + 25);
  SetWindowLongPtrW(canvas_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  names_->name(canvas_, toWide(driveName(DriveWord::Drawing, language_)));
}

// Everything in pixels of 96 DPI scaled to the window's: the inputs down the left, the results
// beside them, the drawing filling what is left below.
void DriveWindow::layOut() {
  const auto px = [this](int logical) { return MulDiv(logical, dpi_, 96); };
  const HFONT old = font_;
  font_ = createFont(kFont, dpi_, language_);
  EnumChildWindows(window_, setFontOf, reinterpret_cast<LPARAM>(font_));
  if (old != nullptr) DeleteObject(old);

  RECT client{};
  GetClientRect(window_, &client);
  const int margin = px(10), row = px(28), labelWidth = px(170), inputWidth = px(130);
  int y = margin;
  for (std::size_t i = 0; i < std::size(kInputs); ++i) {
    MoveWindow(labels_[i], margin, y + px(4), labelWidth, px(18), FALSE);
    HWND input = inputs_.at(kInputs[i].first);
    const bool list = isList(kInputs[i].first);
    MoveWindow(input, margin + labelWidth, y, inputWidth, list ? px(200) : px(23), FALSE);
    y += row;
  }
  MoveWindow(copy_, margin, y + px(4), labelWidth + inputWidth, px(26), FALSE);
  const int left = margin * 2 + labelWidth + inputWidth;
  const int width = std::max(px(200), static_cast<int>(client.right) - left - margin);
  // The summary and the notes take the lines their texts need (a Chinese face may be taller than
  // the window's own), and the group grows below the inputs when they need more room than it has.
  summaryHeight_ = textHeightFor(summary_, width - px(20));
  notesHeight_ = textHeightFor(notes_, width - px(20));
  const int rowsTop = margin + px(16) + std::max(px(48), summaryHeight_);
  const int notesTop = rowsTop + px(100);
  const int resultsHeight =
      std::max(y + px(54) - margin, notesTop + notesHeight_ + px(14) - margin);
  MoveWindow(results_, left, margin - px(4), width, resultsHeight, FALSE);
  MoveWindow(summary_, left + px(10), margin + px(14), width - px(20), rowsTop - margin - px(16),
             FALSE);
  MoveWindow(rows_, left + px(10), rowsTop, width - px(20), px(96), FALSE);
  MoveWindow(notes_, left + px(10), notesTop, width - px(20),
             margin + resultsHeight - px(10) - notesTop, FALSE);
  const int top = margin + resultsHeight;
  MoveWindow(canvas_, margin, top, std::max(0, static_cast<int>(client.right) - 2 * margin),
             std::max(0, static_cast<int>(client.bottom) - top - margin), FALSE);
  InvalidateRect(window_, nullptr, TRUE);
}

// The window opens wide enough for every column of the drive it shows first.
void DriveWindow::widenToColumns() {
  RECT list{};
  GetClientRect(rows_, &list);
  int columns = 0;
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
    columns += ListView_GetColumnWidth(rows_, c);
  }
  if (columns <= list.right) return;
  RECT frame{};
  GetWindowRect(window_, &frame);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + columns - list.right,
               frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The height a label's lines take at this width, wrapped as the label wraps them.
int DriveWindow::textHeightFor(HWND label, int width) const {
  const std::wstring text = toWide(windowText(label));
  HDC dc = GetDC(label);
  const HGDIOBJ old = SelectObject(dc, font_);
  RECT area{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return static_cast<int>(area.bottom);
}

void DriveWindow::mirror() {
  mirroring_ = true;
  const DriveInputs& inputs = form_.inputs();
  for (const DriveField field : DriveForm::kTextFields) {
    const std::string& text = form_.text(field);
    if (windowText(input(field)) != text) SetWindowTextW(input(field), toWide(text).c_str());
  }
  for (DriveField field : {DriveField::Profile, DriveField::Given, DriveField::Units}) {
    SendMessageW(input(field), CB_SETCURSEL, static_cast<WPARAM>(form_.selectedIndex(field)), 0);
  }
  EnableWindow(input(DriveField::Increment), inputs.given == "centre");
  mirrorResults();
  mirroring_ = false;
}

void DriveWindow::mirrorResults() {
  const std::optional<calc::DriveText>& results = form_.results();
  ListView_DeleteAllItems(rows_);
  InvalidateRect(canvas_, nullptr, TRUE);
  EnableWindow(copy_, results.has_value());
  if (!results) {
    SetWindowTextW(summary_, L"");
    SetWindowTextW(notes_, toWide(form_.error()).c_str());
    fitTexts();
    return;
  }
  const std::string unit = results->unit;
  for (int column = 1; column <= 3; ++column) {
    std::wstring heading =
        toWide(std::string(driveWord(kColumns[column], language_)) + " (" + unit + ")");
    LVCOLUMNW update{};
    update.mask = LVCF_TEXT;
    update.pszText = heading.data();
    SendMessageW(rows_, LVM_SETCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&update));
  }
  std::string summary;
  for (const char c : driveSummary(*results, language_))
    summary += c == '\n' ? std::string("\r\n") : std::string(1, c);
  SetWindowTextW(summary_, toWide(summary).c_str());
  for (std::size_t r = 0; r < results->rows.size(); ++r) {
    const calc::DriveTextRow& row = results->rows[r];
    const std::string cells[] = {std::string(driveCase(row.kind, language_)),
                                 row.centre,
                                 row.change,
                                 row.length,
                                 row.beltTeeth,
                                 row.wrap1,
                                 row.wrap2,
                                 row.mesh1,
                                 row.mesh2};
    for (std::size_t c = 0; c < std::size(cells); ++c) {
      std::wstring cell = toWide(cells[c]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(r);
      item.iSubItem = static_cast<int>(c);
      item.pszText = cell.data();
      SendMessageW(rows_, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
  // Each column as wide as its widest text, heading included, and a little room.
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
    wchar_t text[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 64;
    SendMessageW(rows_, LVM_GETCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    // A heading has the header's own margins and its sort arrow's room besides.
    LRESULT widest = SendMessageW(rows_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)) +
                     MulDiv(6, dpi_, 96);
    for (int r = 0; r < static_cast<int>(results->rows.size()); ++r) {
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = text;
      item.cchTextMax = 64;
      SendMessageW(rows_, LVM_GETITEMTEXTW, static_cast<WPARAM>(r),
                   reinterpret_cast<LPARAM>(&item));
      widest = std::max(
          widest, SendMessageW(rows_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
    }
    ListView_SetColumnWidth(rows_, c, static_cast<int>(widest) + MulDiv(14, dpi_, 96));
  }
  std::string notes;
  for (const std::string& warning :
       driveWarnings(*results, *FindBeltProfile(form_.inputs().profile), language_)) {
    notes += warning + "\r\n";
  }
  SetWindowTextW(notes_, toWide(notes).c_str());
  fitTexts();
}

// No line of the summary or the notes is ever cut: where they now need other heights, the window
// is laid out again.
void DriveWindow::fitTexts() {
  RECT box{};
  GetClientRect(notes_, &box);
  if (textHeightFor(notes_, box.right) != notesHeight_ ||
      textHeightFor(summary_, box.right) != summaryHeight_) {
    layOut();
  }
}

void DriveWindow::adoptSelectedRow() {
  const int row = ListView_GetNextItem(rows_, -1, LVNI_SELECTED);
  if (row < 0) return;
  form_.adoptStockBelt(static_cast<std::size_t>(row));
  mirror();
}

bool DriveWindow::preTranslate(MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == 'C' &&
      (GetKeyState(VK_CONTROL) & 0x8000) != 0 && IsChild(window_, message.hwnd)) {
    wchar_t className[16] = {};
    GetClassNameW(message.hwnd, className, 16);
    DWORD start = 0, end = 0;
    if (lstrcmpiW(className, L"EDIT") == 0) {
      SendMessageW(message.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    }
    if (start == end) {
      form_.copy();
      return true;
    }
  }
  return window_ != nullptr && IsDialogMessageW(window_, &message);
}

int DriveWindow::runMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (preTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK DriveWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<DriveWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE) self->window_ = window;
  try {
    return self->dispatchMessage(message, wParam, lParam);
  } catch (const std::exception&) {
    return 0;  // what the user did needed more memory than there is, and did not happen
  }
}

LRESULT DriveWindow::dispatchMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_SIZE:
      if (canvas_ != nullptr) layOut();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {MulDiv(620, dpi_, 96),
                                                               MulDiv(420, dpi_, 96)};
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != FALSE) form_.close();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void DriveWindow::OnCommand(int controlId, int notification, HWND control) {
  if (mirroring_) return;
  if (controlId == IDOK) {
    if (GetFocus() == rows_) adoptSelectedRow();
    return;
  }
  if (control == nullptr) return;
  if (controlId == kCopyId && notification == BN_CLICKED) {
    form_.copy();
    return;
  }
  for (const auto& [field, input] : inputs_) {
    if (input != control) continue;
    if (isList(field) && notification == CBN_SELCHANGE) {
      form_.userPicked(field, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    } else if (!isList(field) && notification == EN_CHANGE) {
      form_.userEdited(field, windowText(control));
    } else {
      return;
    }
    mirror();
    return;
  }
}

void DriveWindow::OnNotify(const NMHDR& header) {
  // A double-click on a stock belt, or Enter on it, makes it the given belt; one click only
  // selects it, as in any list.
  if (header.hwndFrom == rows_ && header.code == LVN_ITEMACTIVATE) {
    adoptSelectedRow();
  }
}

void DriveWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  layOut();
}

void DriveWindow::OnClose() {
  ShowWindow(window_, SW_HIDE);
  form_.close();
  DestroyWindow(window_);
}

void DriveWindow::OnDestroy() {
  window_ = nullptr;
  PostQuitMessage(0);
}

void DriveWindow::showErrorReport(const std::string& title, const std::string& message) {
  reporter_(window_, toWide(title), toWide(message));
}

void DriveWindow::copyToClipboard(const std::string& text) {
  std::wstring wide = toWide(text);
  std::wstring crlf;
  for (wchar_t c : wide) {
    if (c == L'\n') crlf += L'\r';
    crlf += c;
  }
  if (!OpenClipboard(window_)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (crlf.size() + 1) * sizeof(wchar_t));
  if (memory != nullptr) {
    auto* target = static_cast<wchar_t*>(GlobalLock(memory));
    std::copy(crlf.c_str(), crlf.c_str() + crlf.size() + 1, target);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

// ---- The drawing ----

LRESULT CALLBACK DriveWindow::canvasProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  auto* self = reinterpret_cast<DriveWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_PAINT && self != nullptr) {
    self->paintCanvas(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void DriveWindow::paintCanvas(HWND canvas) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(canvas, &paint);
  RECT area{};
  GetClientRect(canvas, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
  const std::vector<DriveShape>& shapes = form_.drawing();
  if (!shapes.empty()) {
    const DrawingFit fit = FitDrawing(shapes, area.right, area.bottom, MulDiv(8, dpi_, 96));
    const double scale = fit.scale;
    const double originX = fit.originX;
    const double originY = fit.originY;
    const auto x = [&](double mm) { return static_cast<int>(std::lround(originX + mm * scale)); };
    const auto y = [&](double mm) { return static_cast<int>(std::lround(originY - mm * scale)); };
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (const DriveShape& shape : shapes) {
      const bool belt =
          shape.role == DriveShapeRole::BeltSpan || shape.role == DriveShapeRole::WrapArc;
      const bool faint =
          shape.role == DriveShapeRole::TipCircle || shape.role == DriveShapeRole::CentreLine;
      HPEN pen = CreatePen(faint ? PS_DOT : PS_SOLID, belt ? MulDiv(3, dpi_, 96) : 1,
                           GetSysColor(belt    ? COLOR_HIGHLIGHT
                                       : faint ? COLOR_GRAYTEXT
                                               : COLOR_WINDOWTEXT));
      const HGDIOBJ old = SelectObject(dc, pen);
      const int l = x(shape.x - shape.radius), t = y(shape.y + shape.radius);
      const int r = x(shape.x + shape.radius), b = y(shape.y - shape.radius);
      const double pi = std::acos(-1.0);
      switch (shape.kind) {
        case DriveShape::Kind::Circle:
          Ellipse(dc, l, t, r, b);
          break;
        case DriveShape::Kind::Line:
          MoveToEx(dc, x(shape.x), y(shape.y), nullptr);
          LineTo(dc, x(shape.x2), y(shape.y2));
          break;
        case DriveShape::Kind::Arc: {
          const double from = shape.startDegrees * pi / 180;
          const double to = (shape.startDegrees + shape.sweepDegrees) * pi / 180;
          Arc(dc, l, t, r, b, x(shape.x + shape.radius * std::cos(from)),
              y(shape.y + shape.radius * std::sin(from)), x(shape.x + shape.radius * std::cos(to)),
              y(shape.y + shape.radius * std::sin(to)));
          break;
        }
      }
      SelectObject(dc, old);
      DeleteObject(pen);
    }
  }
  EndPaint(canvas, &paint);
}

}  // namespace korvale::ui::win32
