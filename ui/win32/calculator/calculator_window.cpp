#include "ui/win32/calculator/calculator_window.h"

#include <commctrl.h>

#include <new>
#include <vector>

#include "text_encoding/utf16.h"
#include "ui/drive/drive_words.h"
#include "ui/win32/calculator/calculator_controls.h"
#include "ui/win32/command_line.h"
#include "ui/win32/dpi_layout.h"
#include "ui/win32/resource.h"
#include "ui/win32/user_language.h"

namespace korvale::ui::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KorvaleForm1";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

using platform::fromWide;
using platform::toWide;

void showMessageBox(HWND owner, const std::wstring& title, const std::wstring& message) {
  MessageBoxW(owner, message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, kWindowClass, &windowClass)) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KORVALE));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KORVALE),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

CalculatorWindow::CalculatorWindow(StateFile stateFile, ErrorReporter reporter,
                                   std::unique_ptr<AccessibleNames> names, Language language)
    : form_(static_cast<FrontEnd&>(*this), std::move(stateFile)),
      reporter_(reporter ? std::move(reporter) : ErrorReporter(showMessageBox)),
      names_(names ? std::move(names) : dynamicAnnotationNames()),
      language_(language) {}

CalculatorWindow::~CalculatorWindow() {
  forgetNames();
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (regularFont_ != nullptr) DeleteObject(regularFont_);
  if (boldFont_ != nullptr) DeleteObject(boldFont_);
}

std::unique_ptr<CalculatorWindow> CalculatorWindow::create(HINSTANCE instance, StateFile stateFile,
                                                           ErrorReporter reporter,
                                                           std::unique_ptr<AccessibleNames> names,
                                                           std::optional<Language> language) {
  INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&commonControls);
  registerWindowClass(instance, windowProcedure);

  std::unique_ptr<CalculatorWindow> self(
      new CalculatorWindow(std::move(stateFile), std::move(reporter), std::move(names),
                           language ? *language : userLanguage()));
  const WindowDescription& description = Form1Description();
  // First at the size for the system's DPI; layOut then fits it to the monitor's.
  const SIZE client = clientSize(dpiOfWindow(nullptr));
  RECT bounds{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&bounds, kWindowStyle, FALSE, 0);
  self->window_ =
      CreateWindowExW(0, kWindowClass, toWide(description.caption).c_str(), kWindowStyle,
                      CW_USEDEFAULT, CW_USEDEFAULT, bounds.right - bounds.left,
                      bounds.bottom - bounds.top, nullptr, nullptr, instance, self.get());
  if (self->window_ == nullptr) return nullptr;

  self->buildControls(instance);
  self->nameControls();
  // The belt drive is offered in the window menu (Alt+Space), which leaves the client area as it
  // is.
  HMENU windowMenu = GetSystemMenu(self->window_, FALSE);
  AppendMenuW(windowMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(windowMenu, MF_STRING, IDM_BELT_DRIVE,
              toWide(driveWord(DriveWord::MenuItem, self->language_)).c_str());
  self->layOut(dpiOfWindow(self->window_));
  self->bindTextBox(ControlId::Text2_0, self->form_.Text2(0));
  self->bindTextBox(ControlId::Text1_0, self->form_.Text1(0));
  self->bindTextBox(ControlId::Text1_1, self->form_.Text1(1));
  self->bindComboBox(self->form_.Combo1(1));

  self->form_.load();
  if (self->window_ == nullptr) return self;  // start-up ended the program
  centreOnWorkArea(self->window_);
  ShowWindow(self->window_, SW_SHOW);
  UpdateWindow(self->window_);
  // The caret goes after the teeth text, so typing extends it, as on Linux.
  HWND teeth = self->control(ControlId::Text2_0);
  SetFocus(teeth);
  const auto end = static_cast<WPARAM>(GetWindowTextLengthW(teeth));
  SendMessageW(teeth, EM_SETSEL, end, static_cast<LPARAM>(end));
  self->form_.windowShown();
  return self;
}

int CalculatorWindow::runMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// ---- Building and binding ----

void CalculatorWindow::buildControls(HINSTANCE instance) {
  controls_ = createCalculatorControls(window_, instance, language_);
}

// Places every control, the fonts and the client area at a DPI: at start-up, and again when the
// window moves to a monitor with another scale.
void CalculatorWindow::layOut(int dpi) {
  dpi_ = dpi;
  const HFONT oldFonts[] = {regularFont_, boldFont_};
  regularFont_ = createFont(Form1Description().control(ControlId::Text2_0).font, dpi, language_);
  boldFont_ = createFont(Form1Description().control(ControlId::Label1_0).font, dpi, language_);
  placeCalculatorControls(window_, controls_, dpi, regularFont_, boldFont_);
  for (HFONT font : oldFonts) {
    if (font != nullptr) DeleteObject(font);
  }
}

// Each input and result is named by its label; in the pitch box the field inside, where the
// focus goes, too.
void CalculatorWindow::nameControls() {
  for (const ControlDescription& c : Form1Description().controls) {
    const std::wstring name = toWide(accessibleName(c.id, language_));
    if (name.empty()) continue;
    std::vector<HWND> parts{controls_.at(c.id)};
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    if (c.kind == ControlKind::DropDownComboBox && GetComboBoxInfo(parts[0], &combo) &&
        combo.hwndItem != nullptr) {
      parts.push_back(combo.hwndItem);
    }
    for (HWND part : parts) {
      names_->name(part, name);
      named_.push_back(part);
    }
  }
}

void CalculatorWindow::forgetNames() {
  for (HWND control : named_) names_->forget(control);
  named_.clear();
}

std::string CalculatorWindow::windowText(HWND control) const {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return fromWide(text);
}

// Setting a text from the program makes the control notify (EN_CHANGE); that echo is not a user
// action and is ignored.
void CalculatorWindow::setWindowTextMuted(HWND control, const std::string& text) {
  mirroring_ = true;
  SetWindowTextW(control, toWide(text).c_str());
  mirroring_ = false;
}

void CalculatorWindow::bindTextBox(ControlId id, TextBoxModel& model) {
  HWND edit = controls_.at(id);
  setWindowTextMuted(edit, model.text());
  model.onDisplayChanged([this, edit, &model] {
    if (windowText(edit) != model.text()) setWindowTextMuted(edit, model.text());
  });
}

void CalculatorWindow::bindComboBox(ComboBoxModel& model) {
  mirrorComboBox(model);
  model.onDisplayChanged([this, &model] { mirrorComboBox(model); });
}

// While the user types, the list's own selection is left as it is: CB_SETCURSEL with -1 would
// clear the field. The model's selection is the one that counts.
void CalculatorWindow::mirrorComboBox(const ComboBoxModel& model) {
  HWND combo = controls_.at(ControlId::Combo1_1);
  mirroring_ = true;
  const auto shownIndex = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  if (model.SelectedIndex() >= 0 && shownIndex != model.SelectedIndex()) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(model.SelectedIndex()), 0);
  }
  if (windowText(combo) != model.text()) SetWindowTextW(combo, toWide(model.text()).c_str());
  mirroring_ = false;
}

// ---- The platform seam ----

void CalculatorWindow::makeTopmost() {
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CalculatorWindow::showErrorReport(const std::string& title, const std::string& message) {
  reporter_(window_, toWide(title), toWide(message));
}

void CalculatorWindow::endProgram() {
  if (window_ != nullptr) DestroyWindow(window_);
}

// ---- Messages ----

LRESULT CALLBACK CalculatorWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CalculatorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE) self->window_ = window;
  return self->handleMessage(message, wParam, lParam);
}

// No exception may cross the system's code that calls the window procedure. The form keeps its
// own; what is left is an allocation that failed here, reading a pasted text, say: reported as
// the form reports one, with every box showing again what the form holds.
LRESULT CalculatorWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return dispatchMessage(message, wParam, lParam);
  } catch (const std::bad_alloc&) {
    for (ControlId id : {ControlId::Text2_0, ControlId::Text1_0, ControlId::Text1_1}) {
      setWindowTextMuted(control(id), form_.textBox(id).text());
    }
    mirrorComboBox(form_.Combo1(1));
    form_.outOfMemory();
    return 0;
  }
}

LRESULT CalculatorWindow::dispatchMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != IDM_BELT_DRIVE)
        return DefWindowProcW(window_, message, wParam, lParam);
      OnBeltDrive();
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam), HIWORD(wParam) != 0);
      return 0;
    case WM_SETFOCUS:
      restoreFocus();
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
      OnEndSession(wParam != FALSE);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void CalculatorWindow::OnCommand(int controlId, int notification, HWND control) {
  if (mirroring_ || control == nullptr) return;  // also IDOK and IDCANCEL from Enter and Escape
  if (controlId == controlIdOf(ControlId::Combo1_1)) {
    if (notification == CBN_EDITCHANGE) form_.userEdited(ControlId::Combo1_1, windowText(control));
    if (notification == CBN_SELCHANGE) {
      const auto index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
      if (index >= 0) form_.userPicked(index);
    }
    return;
  }
  if (notification != EN_CHANGE) return;
  for (ControlId id : {ControlId::Text2_0, ControlId::Text1_0, ControlId::Text1_1}) {
    if (controlId == controlIdOf(id)) form_.userEdited(id, windowText(control));
  }
}

// The drive window opens as a program of its own, so that each window keeps its own file and its
// own message loop; with the calculator's pulley as the driving one when its pitch was picked
// from the list (a profile of the catalogue), else as the drive was left.
void CalculatorWindow::OnBeltDrive() {
  std::wstring program(MAX_PATH, L'\0');
  program.resize(GetModuleFileNameW(nullptr, program.data(), MAX_PATH));
  std::wstring commandLine = L"\"" + program + L"\" /drive";
  if (form_.Combo1(1).SelectedIndex() >= 0) {
    commandLine += L" /pulley " + quotedWord(toWide(form_.Combo1(1).text())) + L" " +
                   quotedWord(toWide(form_.Text2(0).text()));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

// Left to itself, the window would take the focus on activation and keystrokes would go nowhere
// after Alt+Tab, a click on the title bar or a closed message box. As a dialog does, it remembers
// the focused control on the way out and hands the focus back to it on the way in.
void CalculatorWindow::OnActivate(int state, bool minimized) {
  if (state == WA_INACTIVE) {
    HWND focused = GetFocus();
    if (focused != nullptr && IsChild(window_, focused)) focusToRestore_ = focused;
  } else if (!minimized) {
    restoreFocus();
  }
}

void CalculatorWindow::restoreFocus() {
  if (focusToRestore_ == nullptr || !IsWindow(focusToRestore_) ||
      !IsChild(window_, focusToRestore_)) {
    focusToRestore_ = controls_.count(ControlId::Text2_0) ? control(ControlId::Text2_0) : nullptr;
  }
  if (focusToRestore_ != nullptr) SetFocus(focusToRestore_);
}

// Moved to a monitor with another scale: the window goes where the system suggests, and is laid
// out afresh from the twips, sharp, rather than stretched.
void CalculatorWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  layOut(dpi);
}

// The window goes first, as on Linux: the save does not wait for boxes drawn again.
void CalculatorWindow::OnClose() {
  ShowWindow(window_, SW_HIDE);
  form_.close();
  DestroyWindow(window_);
}

// Windows ends without sending WM_CLOSE when the user logs off: save then.
void CalculatorWindow::OnEndSession(bool ending) {
  if (ending) form_.close();
}

void CalculatorWindow::OnDestroy() {
  forgetNames();
  window_ = nullptr;
  PostQuitMessage(0);
}

}  // namespace korvale::ui::win32
