// The Win32 window end to end, in this process, through real window messages: keystrokes to the
// controls (WM_CHAR, WM_KEYDOWN), the results read back with WM_GETTEXT, the close with WM_CLOSE.
// Runs under Wine with a display.
#include "ui/win32/calculator_window.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <cstdlib>
#include <map>

#include "state/platform/windows_text.h"
#include "tests/support/temporary_directory.h"
#include "tests/ui/window_script.h"
#include "ui/win32/resource.h"

namespace korvale::ui::win32 {
namespace {

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

class Win32WindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<CalculatorWindow> open() {
    auto window = CalculatorWindow::create(
        GetModuleHandleW(nullptr), StateFile(directory_.u8path()),
        [this](HWND owner, const std::wstring& title, const std::wstring& message) {
          reports_.push_back(platform::fromWide(title + L": " + message));
          reportedOver_.push_back(IsWindowVisible(owner) ? shownBy(owner) : "no window");
        });
    EXPECT_NE(window, nullptr);
    window->form().traceHandlers(
        [this](std::string_view name) { handlers_ += std::string(name) + " "; });
    return window;
  }

  static std::string text(HWND control) {
    wchar_t buffer[256] = {};
    SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
    return platform::fromWide(buffer);
  }
  // What the controls show: "teeth | pitch | D | Da".
  static std::string shown(const CalculatorWindow& w) {
    return text(w.control(ControlId::Text2_0)) + " | " + text(w.control(ControlId::Combo1_1)) +
           " | " + text(w.control(ControlId::Text1_0)) + " | " +
           text(w.control(ControlId::Text1_1));
  }

  static void retype(HWND edit, const std::wstring& keys) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t key : keys) SendMessageW(edit, WM_CHAR, key, 1);
  }
  static void pressDown(HWND control, int times) {
    for (int i = 0; i < times; ++i) SendMessageW(control, WM_KEYDOWN, VK_DOWN, 1);
  }

  // What the window showed beneath a report, read from its controls.
  static std::string shownBy(HWND window) {
    std::string shown;
    for (int id : {IDC_TEXT2_0, IDC_COMBO1_1, IDC_TEXT1_0, IDC_TEXT1_1}) {
      shown += (shown.empty() ? "" : " | ") + text(GetDlgItem(window, id));
    }
    return shown;
  }

  korvale::testing::TemporaryDirectory directory_;
  std::vector<std::string> reports_;
  std::vector<std::string> reportedOver_;
  std::string handlers_;
};

TEST_F(Win32WindowTest, EveryKeystrokeUpdatesBothResults) {
  auto window = open();
  HWND teeth = window->control(ControlId::Text2_0);
  retype(teeth, L"\b");
  EXPECT_EQ(window->form().Text2(0).text(), "") << "an emptied box holds nothing, not a NUL";
  for (const auto& [key, expected] : testing::kTeethKeystrokes) {
    SendMessageW(teeth, WM_CHAR, static_cast<WPARAM>(key), 1);
    EXPECT_EQ(shown(*window), expected);
  }
}

TEST_F(Win32WindowTest, EveryEntryPickedWithTheKeys) {
  auto window = open();
  HWND combo = window->control(ControlId::Combo1_1);
  const std::pair<UINT, int> steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_DOWN, 2}, {VK_DOWN, 3},
                                        {VK_UP, 2},   {VK_UP, 1},   {VK_UP, 0}};
  for (const auto& [key, index] : steps) {
    handlers_.clear();
    SendMessageW(combo, WM_KEYDOWN, key, 1);
    EXPECT_EQ(shown(*window), testing::kPicked[index]);
    EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), index);
    EXPECT_EQ(handlers_, "Combo1_Click TT ") << index;
  }
}

TEST_F(Win32WindowTest, TypingSelectsNothing) {
  auto window = open();
  pressDown(window->control(ControlId::Combo1_1), 4);
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof combo;
  GetComboBoxInfo(window->control(ControlId::Combo1_1), &combo);
  retype(combo.hwndItem, L"8M");
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), -1);
  EXPECT_EQ(shown(*window), "20 | 8M | 50.92 | 50.92");

  handlers_.clear();
  SendMessageW(combo.hwndItem, WM_KEYDOWN, VK_F4, 1);      // the list opens...
  SendMessageW(combo.hwndItem, WM_KEYDOWN, VK_ESCAPE, 1);  // ...and closes unused
  SetFocus(window->control(ControlId::Text2_0));           // the field loses the focus
  EXPECT_EQ(handlers_, "") << "neither the list nor leaving the field picks the typed text";
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), -1) << "the typed text selects nothing";
}

TEST_F(Win32WindowTest, WindowIsTopmostFixedWithItsFontsAndTabOrder) {
  auto window = open();
  HWND hwnd = window->handle();
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  RECT workArea{};
  RECT bounds{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  GetWindowRect(hwnd, &bounds);
  EXPECT_NEAR(bounds.left + bounds.right, workArea.left + workArea.right, 1) << "centred";
  EXPECT_NEAR(bounds.top + bounds.bottom, workArea.top + workArea.bottom, 1) << "centred";

  for (const ControlDescription& c : Form1Description().controls) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window->control(c.id), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"宋体") << c.name << c.member;
    EXPECT_EQ(font.lfCharSet, 134);
    EXPECT_EQ(font.lfWeight, c.kind == ControlKind::Label ? 700 : 400) << c.name << c.member;
  }

  HWND current = window->control(ControlId::Text2_0);
  EXPECT_EQ(GetFocus(), current);
  for (ControlId next :
       {ControlId::Text1_0, ControlId::Text1_1, ControlId::Combo1_1, ControlId::Text2_0}) {
    current = GetNextDlgTabItem(hwnd, current, FALSE);
    EXPECT_TRUE(current == window->control(next) || GetParent(current) == window->control(next));
  }
}

// Every control's rectangle in the client area, and the client area itself, as the twips of the
// description give them at the window's DPI; the fonts at that DPI.
void expectLaidOutAt(const CalculatorWindow& window, int dpi) {
  EXPECT_EQ(window.dpi(), dpi);
  RECT client{};
  GetClientRect(window.handle(), &client);
  EXPECT_EQ(client.right, twipsToPixels(3150, dpi)) << dpi << " DPI";
  EXPECT_EQ(client.bottom, twipsToPixels(3375, dpi)) << dpi << " DPI";
  const TwipsRect frame = Form1Description().control(ControlId::Frame1).bounds;
  for (const ControlDescription& c : Form1Description().controls) {
    RECT shown{};
    GetWindowRect(window.control(c.id), &shown);
    MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&shown), 2);
    const int left = c.bounds.left + (c.insideFrame ? frame.left : 0);
    const int top = c.bounds.top + (c.insideFrame ? frame.top : 0);
    EXPECT_EQ(shown.left, twipsToPixels(left, dpi)) << c.name << c.member << " at " << dpi;
    EXPECT_EQ(shown.top, twipsToPixels(top, dpi)) << c.name << c.member << " at " << dpi;
    EXPECT_EQ(shown.right - shown.left, twipsToPixels(c.bounds.width, dpi))
        << c.name << c.member << " at " << dpi;
    EXPECT_EQ(shown.bottom - shown.top, twipsToPixels(c.bounds.height, dpi))
        << c.name << c.member << " at " << dpi;
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window.control(c.id), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(105, dpi, 720)) << "10.5 pt at " << dpi;
  }
}

TEST_F(Win32WindowTest, LaidOutFromTwipsAtTheStartDpiAndAfterEveryDpiChange) {
  auto window = open();
  const char* expected = std::getenv("KORVALE_EXPECTED_DPI");
  expectLaidOutAt(*window, expected != nullptr ? std::atoi(expected) : 96);
  for (int dpi : {144, 192, 96}) {
    RECT suggested{};
    GetWindowRect(window->handle(), &suggested);
    SendMessageW(window->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    expectLaidOutAt(*window, dpi);
    RECT moved{};
    GetWindowRect(window->handle(), &moved);
    EXPECT_EQ(moved.left, suggested.left) << "the suggested rectangle is applied";
    EXPECT_EQ(moved.top, suggested.top);
  }
}

// Remembers which control was given which name, and which names were forgotten.
class RecordedNames : public AccessibleNames {
 public:
  explicit RecordedNames(std::map<HWND, std::string>& names) : names_(names) {}
  void name(HWND control, const std::wstring& name) override {
    names_[control] = platform::fromWide(name);
  }
  void forget(HWND control) override { names_.erase(control); }

 private:
  std::map<HWND, std::string>& names_;
};

TEST_F(Win32WindowTest, EachInputAndResultIsNamedByItsLabelForScreenReaders) {
  std::map<HWND, std::string> names;
  auto window = CalculatorWindow::create(GetModuleHandleW(nullptr), StateFile(directory_.u8path()),
                                         {}, std::make_unique<RecordedNames>(names));
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof combo;
  GetComboBoxInfo(window->control(ControlId::Combo1_1), &combo);
  EXPECT_EQ(names, (std::map<HWND, std::string>{
                       {window->control(ControlId::Text2_0), "齿数T"},
                       {window->control(ControlId::Combo1_1), "模数M"},
                       {combo.hwndItem, "模数M"},
                       {window->control(ControlId::Text1_1), "顶圆直径Da"},
                       {window->control(ControlId::Text1_0), "节圆直径 D"},
                   }));
  window.reset();
  EXPECT_TRUE(names.empty()) << "every name is taken back before its control goes";
}

// The value a screen reader gets from the system's accessibility layer (oleacc) for a control.
std::string accessibleValue(HWND control) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&object)))) {
    return "no accessible object";
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  const HRESULT result = object->get_accValue(self, &text);
  std::string answer = SUCCEEDED(result) && text != nullptr ? platform::fromWide(text) : "none";
  SysFreeString(text);
  object->Release();
  return answer;
}

// What oleacc gives a screen reader. Wine's oleacc stubs the annotation service (SetHwndPropStr
// answers E_NOTIMPL), so the names are checked through the seam above and the values here.
TEST_F(Win32WindowTest, AScreenReaderReadsTheValues) {
  auto window = open();
  EXPECT_EQ(accessibleValue(window->control(ControlId::Text2_0)), "20");
  EXPECT_EQ(accessibleValue(window->control(ControlId::Text1_0)), "31.83");
  retype(window->control(ControlId::Text2_0), L"203");
  EXPECT_EQ(accessibleValue(window->control(ControlId::Text1_0)), "323.08");
  EXPECT_EQ(accessibleValue(window->control(ControlId::Text1_1)), "323.08");
}

TEST_F(Win32WindowTest, AnOverflowIsReportedAndTheWindowStaysOpen) {
  auto window = open();
  pressDown(window->control(ControlId::Combo1_1), 4);
  retype(window->control(ControlId::Text2_0), L"1E308");
  EXPECT_EQ(reports_, std::vector<std::string>{"Korvale: Run-time error '6':\n\nOverflow"});
  EXPECT_EQ(reportedOver_, std::vector<std::string>{"1E308 | 14M |  | "});
  EXPECT_TRUE(IsWindow(window->handle()));
  EXPECT_EQ(shown(*window), "1E308 | 14M |  | ");
}

BOOL CALLBACK pressOkIfMessageBox(HWND candidate, LPARAM) {
  wchar_t name[16] = {};
  GetClassNameW(candidate, name, 16);
  if (std::wstring(name) == L"#32770") PostMessageW(candidate, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// Dismisses the message box this thread shows, as the user's Enter would.
void CALLBACK pressOkOnTheReport(HWND, UINT, UINT_PTR timer, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), pressOkIfMessageBox, 0);
  KillTimer(nullptr, timer);
}

TEST_F(Win32WindowTest, TheFocusComesBackToItsControlWithTheWindow) {
  auto window = open();
  HWND pitchCircle = window->control(ControlId::Text1_0);
  SetFocus(pitchCircle);
  HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                               100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(other, SW_SHOW);
  SetActiveWindow(other);
  EXPECT_EQ(GetActiveWindow(), other);
  SetActiveWindow(window->handle());
  DestroyWindow(other);
  EXPECT_EQ(GetFocus(), pitchCircle);
  SendMessageW(GetFocus(), WM_CHAR, L'7', 1);
  EXPECT_EQ(text(pitchCircle), "731.83") << "the next keystroke lands in the box";
}

TEST_F(Win32WindowTest, TheFocusComesBackAfterTheOverflowReport) {
  auto window = CalculatorWindow::create(
      GetModuleHandleW(nullptr), StateFile(directory_.u8path()),
      [](HWND owner, const std::wstring& title, const std::wstring& message) {
        SetTimer(nullptr, 0, 200, pressOkOnTheReport);
        MessageBoxW(owner, message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
      });
  pressDown(window->control(ControlId::Combo1_1), 4);
  HWND teeth = window->control(ControlId::Text2_0);
  SetFocus(teeth);
  retype(teeth, L"1E308");
  EXPECT_EQ(GetFocus(), teeth);
  SendMessageW(GetFocus(), WM_CHAR, L'\b', 1);
  EXPECT_EQ(shown(*window), "1E30 | 14M | 4.45633840599119E+30 | 4.45633840599119E+30");
}

TEST_F(Win32WindowTest, AnOverflowAtStartUpIsReportedOverTheShownWindow) {
  directory_.write("Rede.txt", "\"1E308\"\r\n\"14M\"\r\n");
  auto window = open();
  EXPECT_EQ(reportedOver_, std::vector<std::string>{"1E308 | 14M |  | "});
}

// A logoff ends the program without a WM_CLOSE: the session's end alone saves, and a close that
// may still come saves no second time.
TEST_F(Win32WindowTest, TheSessionEndingSavesWithoutAClose) {
  auto window = open();
  retype(window->control(ControlId::Text2_0), L"25");
  handlers_.clear();
  SendMessageW(window->handle(), WM_QUERYENDSESSION, 0, 0);
  SendMessageW(window->handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(handlers_, "Form_QueryUnload ");
  EXPECT_EQ(directory_.read("Rede.txt"), "\"25\"\r\n\"5M\"\r\n");
  SendMessageW(window->handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(handlers_, "Form_QueryUnload ") << "the form closes once";
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(Win32WindowTest, ClosingSavesAndTheNextWindowRestores) {
  auto window = open();
  retype(window->control(ControlId::Text2_0), L"25");
  pressDown(window->control(ControlId::Combo1_1), 3);
  handlers_.clear();
  SendMessageW(window->handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(handlers_, "Form_QueryUnload ");
  EXPECT_FALSE(IsWindow(window->handle()));
  EXPECT_EQ(directory_.read("Rede.txt"), "\"25\"\r\n\"8M\"\r\n");
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);

  window = open();
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), 2);
  EXPECT_EQ(shown(*window), "25 | 8M | 63.66 | 62.29");
}

}  // namespace
}  // namespace korvale::ui::win32
