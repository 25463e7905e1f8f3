#include "ui/win32/drive/drive_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "text_encoding/utf16.h"
#include "ui/drive/drive_words.h"
#include "ui/win32/dpi_layout.h"
#include "ui/win32/drive/drive_canvas.h"
#include "ui/win32/resource.h"
#include "ui/win32/user_language.h"

namespace korvale::ui::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KorvaleDrive";
// The window's font: the calculator's face, at the size of a dialog's text.
constexpr FontDescription kFont{"宋体", 9, 134, 400};

using platform::fromWide;
using platform::toWide;

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, name, &windowClass)) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KORVALE));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
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
  for (const auto& [field, control] : controls_.inputs) names_->forget(control);
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
  registerClass(instance, kWindowClass, windowProcedure);
  std::unique_ptr<DriveWindow> self(new DriveWindow(std::move(file), std::move(handedOver),
                                                    std::move(reporter), std::move(names),
                                                    language ? *language : userLanguage()));
  const int dpi = dpiOfWindow(nullptr);
  self->window_ =
      CreateWindowExW(0, kWindowClass, toWide(driveWord(DriveWord::Title, self->language_)).c_str(),
                      WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, MulDiv(980, dpi, 96),
                      MulDiv(720, dpi, 96), nullptr, nullptr, instance, self.get());
  if (self->window_ == nullptr) return nullptr;
  self->dpi_ = dpiOfWindow(self->window_);
  self->controls_ = createDriveControls(self->window_, instance, self->language_, *self->names_);
  // Laid out first, so that the columns are measured in the font they are drawn in.
  self->layOut();
  self->form_.load();
  self->mirror();
  widenToColumns(self->window_, self->controls_.rows);
  ShowWindow(self->window_, SW_SHOW);
  UpdateWindow(self->window_);
  SetFocus(self->input(DriveField::Profile));
  self->form_.windowShown();
  return self;
}

void DriveWindow::layOut() {
  const HFONT old = font_;
  font_ = createFont(kFont, dpi_, language_);
  textHeights_ = placeDriveControls(window_, controls_, dpi_, font_);
  if (old != nullptr) DeleteObject(old);
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
  const std::optional<report::DriveText>& results = form_.results();
  showDriveShapes(controls_.canvas, form_.drawing(), dpi_);
  EnableWindow(controls_.copy, results.has_value());
  const std::optional<report::LoadText>& load = form_.loadResults();
  std::string loadNotes;
  if (load) {
    for (const std::string& line : loadLines(*load, language_)) loadNotes += line + "\r\n";
  } else {
    loadNotes = form_.loadError();
  }
  SetWindowTextW(controls_.loadNotes, toWide(loadNotes).c_str());
  if (!results) {
    ListView_DeleteAllItems(controls_.rows);
    SetWindowTextW(controls_.summary, L"");
    SetWindowTextW(controls_.notes, toWide(form_.error()).c_str());
  } else {
    showDriveRows(controls_.rows, *results, load ? &*load : nullptr, language_, dpi_);
    std::string summary;
    for (const char c : driveSummary(*results, language_)) {
      summary += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    SetWindowTextW(controls_.summary, toWide(summary).c_str());
    std::string notes;
    for (const std::string& warning :
         driveWarnings(*results, *FindBeltProfile(form_.inputs().profile), language_)) {
      notes += warning + "\r\n";
    }
    SetWindowTextW(controls_.notes, toWide(notes).c_str());
  }
  // No line of the summary, the notes or the load's is ever cut: where they now need other
  // heights, the window is laid out again.
  if (neededTextHeights(controls_, font_) != textHeights_) layOut();
}

void DriveWindow::adoptSelectedRow() {
  const int row = ListView_GetNextItem(controls_.rows, -1, LVNI_SELECTED);
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
      if (controls_.canvas != nullptr) layOut();
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
    if (GetFocus() == controls_.rows) adoptSelectedRow();
    return;
  }
  if (control == nullptr) return;
  if (controlId == kDriveCopyId && notification == BN_CLICKED) {
    form_.copy();
    return;
  }
  for (const auto& [field, input] : controls_.inputs) {
    if (input != control) continue;
    if (isDriveList(field) && notification == CBN_SELCHANGE) {
      form_.userPicked(field, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    } else if (!isDriveList(field) && notification == EN_CHANGE) {
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
  if (header.hwndFrom == controls_.rows && header.code == LVN_ITEMACTIVATE) {
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

}  // namespace korvale::ui::win32
