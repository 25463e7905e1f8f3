// The Win32 window end to end, in this process, through real window messages: keystrokes to the
// controls (WM_CHAR, WM_KEYDOWN), the results read back with WM_GETTEXT, the close with WM_CLOSE.
// Runs under Wine with a display.
#include "ui/win32/calculator_window.h"

#include <gtest/gtest.h>

#include "state/platform/windows_text.h"
#include "tests/support/temporary_directory.h"

namespace korvale::ui::win32 {
namespace {

class Win32WindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<CalculatorWindow> open() {
    auto window = CalculatorWindow::create(
        GetModuleHandleW(nullptr), StateFile(directory_.u8path()),
        [this](HWND, const std::wstring& title, const std::wstring& message) {
          reports_.push_back(platform::fromWide(title + L": " + message));
        });
    EXPECT_NE(window, nullptr);
    window->form().traceHandlers([this](std::string_view name) { handlers_.emplace_back(name); });
    return window;
  }

  static std::string text(HWND control) {
    wchar_t buffer[256] = {};
    SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
    return platform::fromWide(buffer);
  }
  static std::string d(const CalculatorWindow& w) { return text(w.control(ControlId::Text1_0)); }
  static std::string da(const CalculatorWindow& w) { return text(w.control(ControlId::Text1_1)); }

  static HWND comboField(const CalculatorWindow& w) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(w.control(ControlId::Combo1_1), &info);
    return info.hwndItem;
  }

  static void type(HWND control, const std::wstring& keys) {
    for (wchar_t key : keys) SendMessageW(control, WM_CHAR, key, 1);
  }
  static void selectAll(HWND edit) { SendMessageW(edit, EM_SETSEL, 0, -1); }
  static void pressKey(HWND control, WPARAM key) {
    SendMessageW(control, WM_KEYDOWN, key, 1);
    SendMessageW(control, WM_KEYUP, key, 0xC0000001);
  }

  std::string fileBytes() const { return directory_.read("Rede.txt"); }

  korvale::testing::TemporaryDirectory directory_;
  std::vector<std::string> reports_;
  std::vector<std::string> handlers_;
};

TEST_F(Win32WindowTest, EveryKeystrokeUpdatesBothResults) {
  auto window = open();
  HWND teeth = window->control(ControlId::Text2_0);
  EXPECT_EQ(text(teeth), "20");
  EXPECT_EQ(d(*window), "31.83");
  selectAll(teeth);
  const struct {
    wchar_t key;
    const char* d;
  } keystrokes[] = {
      {L'2', "3.18"}, {L'3', "36.6"}, {L'.', "36.6"}, {L'5', "37.4"}, {L'\b', "36.6"}};
  for (const auto& k : keystrokes) {
    type(teeth, std::wstring(1, k.key));
    EXPECT_EQ(d(*window), k.d);
    EXPECT_EQ(da(*window), k.d) << "no entry selected: Da equals D";
  }
}

TEST_F(Win32WindowTest, PicksByKeyboardAndTypingSelectsNothing) {
  auto window = open();
  HWND combo = window->control(ControlId::Combo1_1);
  handlers_.clear();
  for (int i = 0; i < 4; ++i) pressKey(combo, VK_DOWN);
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), 3);
  EXPECT_EQ(text(combo), "14M");
  EXPECT_EQ(d(*window), "89.12");
  EXPECT_EQ(da(*window), "86.32");
  const std::vector<std::string> fourPicks = {"Combo1_Click", "TT", "Combo1_Click", "TT",
                                              "Combo1_Click", "TT", "Combo1_Click", "TT"};
  EXPECT_EQ(handlers_, fourPicks) << "each pick is one Click and no Change";

  HWND field = comboField(*window);
  selectAll(field);
  type(field, L"8M");
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), -1);
  EXPECT_EQ(text(combo), "8M");
  EXPECT_EQ(d(*window), "50.92");
  EXPECT_EQ(da(*window), "50.92");
}

TEST_F(Win32WindowTest, WindowIsTopmostFixedWithItsFontsAndTabOrder) {
  auto window = open();
  HWND hwnd = window->handle();
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 210);
  EXPECT_EQ(client.bottom, 225);
  wchar_t caption[32] = {};
  GetWindowTextW(hwnd, caption, 32);
  EXPECT_STREQ(caption, L"Korvale");

  for (const ControlDescription& c : Form1Description().controls) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window->control(c.id), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"宋体") << c.name << c.member;
    EXPECT_EQ(font.lfCharSet, 134);
    EXPECT_EQ(font.lfWeight, c.kind == ControlKind::Label ? 700 : 400);
    EXPECT_EQ(font.lfHeight, -14) << "10.5 pt at 96 DPI";
  }

  EXPECT_EQ(GetFocus(), window->control(ControlId::Text2_0));
  HWND current = window->control(ControlId::Text2_0);
  for (ControlId next :
       {ControlId::Text1_0, ControlId::Text1_1, ControlId::Combo1_1, ControlId::Text2_0}) {
    current = GetNextDlgTabItem(hwnd, current, FALSE);
    HWND expected = window->control(next);
    EXPECT_TRUE(current == expected || GetParent(current) == expected);
  }
}

TEST_F(Win32WindowTest, AnOverflowIsReportedAndTheWindowStaysOpen) {
  auto window = open();
  for (int i = 0; i < 4; ++i) pressKey(window->control(ControlId::Combo1_1), VK_DOWN);
  HWND teeth = window->control(ControlId::Text2_0);
  selectAll(teeth);
  type(teeth, L"1E308");
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0], "Korvale: Run-time error '6':\n\nOverflow");
  EXPECT_TRUE(IsWindow(window->handle()));
  EXPECT_EQ(d(*window), "");
  EXPECT_EQ(da(*window), "");
}

TEST_F(Win32WindowTest, ClosingSavesAndTheNextWindowRestores) {
  {
    auto window = open();
    HWND teeth = window->control(ControlId::Text2_0);
    selectAll(teeth);
    type(teeth, L"25");
    for (int i = 0; i < 3; ++i) pressKey(window->control(ControlId::Combo1_1), VK_DOWN);
    SendMessageW(window->handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window->handle()));
    EXPECT_EQ(fileBytes(), "\"25\"\r\n\"8M\"\r\n");
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  auto window = open();
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), 2);
  EXPECT_EQ(text(window->control(ControlId::Combo1_1)), "8M");
  EXPECT_EQ(d(*window), "63.66");
  EXPECT_EQ(da(*window), "62.29");
}

}  // namespace
}  // namespace korvale::ui::win32
