// The Win32 window end to end, in this process, through real window messages: the window
// scenarios every front end is held to, played with keystrokes (WM_CHAR, WM_KEYDOWN), clicks,
// pastes and closes, the results read back with WM_GETTEXT; and what is Win32's own. Runs under
// Wine with a display.
#include "ui/win32/calculator/calculator_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <stdexcept>

#include "tests/support/temporary_directory.h"
#include "tests/ui/calculator/window_script.h"
#include "text_encoding/utf16.h"
#include "ui/drive/drive_words.h"
#include "ui/win32/resource.h"

KORVALE_FAILING_OPERATOR_NEW

namespace korvale::ui::win32 {
namespace {

using testing::Act;

std::string text(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  buffer.resize(static_cast<std::size_t>(GetWindowTextW(control, buffer.data(), length + 1)));
  return platform::fromWide(buffer);
}

// What a window shows: "teeth | pitch | D | Da".
std::string shownBy(HWND window) {
  return text(GetDlgItem(window, IDC_TEXT2_0)) + " | " + text(GetDlgItem(window, IDC_COMBO1_1)) +
         " | " + text(GetDlgItem(window, IDC_TEXT1_0)) + " | " +
         text(GetDlgItem(window, IDC_TEXT1_1));
}

HWND editOf(const CalculatorWindow& window, ControlId id) {
  if (id != ControlId::Combo1_1) return window.control(id);
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof combo;
  GetComboBoxInfo(window.control(id), &combo);
  return combo.hwndItem;
}

void keys(HWND edit, const std::string& keys) {
  for (wchar_t key : platform::toWide(keys)) {
    const UINT virtualKey = key == L'<'   ? VK_HOME
                            : key == L'>' ? VK_RIGHT
                            : key == L'$' ? VK_END
                                          : 0;
    SendMessageW(edit, virtualKey != 0 ? WM_KEYDOWN : WM_CHAR, virtualKey != 0 ? virtualKey : key,
                 1);
  }
}

RECT rectIn(HWND window, HWND control) {
  RECT bounds{};
  GetWindowRect(control, &bounds);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

void click(HWND control, POINT inParent) {
  MapWindowPoints(GetParent(control), control, &inParent, 1);
  const LPARAM at = MAKELPARAM(inParent.x, inParent.y);
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(control, WM_LBUTTONUP, 0, at);
}

void dropQuit() {
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

class Win32Driver : public testing::WindowDriver {
 public:
  ~Win32Driver() override {
    window_.reset();
    dropQuit();
  }
  void open() override { open({}); }
  // In the user's language unless told one; with the system's screen-reader names unless given
  // others.
  CalculatorWindow& open(std::optional<Language> language,
                         std::unique_ptr<AccessibleNames> names = {}) {
    window_.reset();
    dropQuit();
    window_ = CalculatorWindow::create(
        GetModuleHandleW(nullptr), StateFile(directory.u8path()),
        [this](HWND owner, const std::wstring& title, const std::wstring& message) {
          reports.push_back(platform::fromWide(title + L": " + message) + " over " +
                            (IsWindowVisible(owner) ? shownBy(owner) : "no window"));
        },
        std::move(names), language);
    EXPECT_NE(window_, nullptr);
    window_->form().traceHandlers(handlerRecorder());
    return *window_;
  }
  void close() { window_.reset(); }

  void act(const testing::Step& step) override {
    HWND combo = window_ ? window_->control(ControlId::Combo1_1) : nullptr;
    switch (step.act) {
      case Act::Open:
        open();
        break;
      case Act::Type:
        keys(editOf(*window_, step.box), step.text);
        break;
      case Act::Replace:
        SendMessageW(editOf(*window_, step.box), EM_SETSEL, 0, -1);
        keys(editOf(*window_, step.box), step.text.empty() ? "\b" : step.text);
        break;
      case Act::Paste: {
        const std::wstring wide = platform::toWide(step.text);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
        std::copy(wide.c_str(), wide.c_str() + wide.size() + 1,
                  static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        ASSERT_TRUE(OpenClipboard(window_->handle()));
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        SendMessageW(editOf(*window_, step.box), EM_SETSEL, 0, -1);
        testing::failAllocationsFor(step.text);
        SendMessageW(editOf(*window_, step.box), WM_PASTE, 0, 0);
        break;
      }
      case Act::Click: {
        // Where the label reaches under the box, the box must take the click.
        RECT both{};
        const RECT box = rectIn(window_->handle(), window_->control(step.box));
        const RECT label = rectIn(window_->handle(), window_->control(*labelOf(step.box)));
        IntersectRect(&both, &box, &label);
        const POINT centre{(both.left + both.right) / 2, (both.top + both.bottom) / 2};
        click(ChildWindowFromPointEx(window_->handle(), centre, CWP_SKIPINVISIBLE), centre);
        keys(GetFocus(), step.text);
        break;
      }
      case Act::Pick: {
        // As the mouse picks: the list dropped down, the entry clicked.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        RECT item{};
        SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(std::stoi(step.text)),
                     reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
        SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
        break;
      }
      case Act::Down:
        SendMessageW(combo, WM_KEYDOWN, step.text == "up" ? VK_UP : VK_DOWN, 1);
        break;
      case Act::TryToSelect:
        SendMessageW(editOf(*window_, ControlId::Combo1_1), WM_KEYDOWN, VK_F4, 1);
        SendMessageW(editOf(*window_, ControlId::Combo1_1), WM_KEYDOWN, VK_ESCAPE, 1);
        SetFocus(window_->control(ControlId::Text2_0));
        break;
      case Act::Close:
        if (IsWindow(window_->handle())) SendMessageW(window_->handle(), WM_CLOSE, 0, 0);
        dropQuit();
        break;
      case Act::EndSession:
        EXPECT_EQ(SendMessageW(window_->handle(), WM_QUERYENDSESSION, 0, 0), TRUE)
            << "the logoff goes on";
        SendMessageW(window_->handle(), WM_ENDSESSION, TRUE, 0);
        break;
      case Act::FailUnexpectedly: {
        window_->form().traceHandlers([](std::string_view name) {
          if (name == "TT") throw std::logic_error("broken");
        });
        HWND hwnd = window_->handle();
        keys(editOf(*window_, step.box), step.text);
        MSG quit;
        ended_ = !IsWindow(hwnd) && PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        break;
      }
      case Act::WriteFile:
      case Act::FolderInWay:
        break;
    }
  }

  std::string shown() override { return shownBy(window_->handle()); }
  bool ended() override { return ended_; }

 private:
  std::unique_ptr<CalculatorWindow> window_;
  bool ended_ = false;
};

TEST(Win32Window, PlaysEveryWindowScenario) {
  testing::runWindowScenarios<Win32Driver>();
}

TEST(Win32Window, IsTopmostFixedCentredWithItsTabOrder) {
  Win32Driver driver;
  const CalculatorWindow* window = &driver.open(Language::Chinese);
  HWND hwnd = window->handle();
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  RECT workArea{};
  RECT bounds{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  GetWindowRect(hwnd, &bounds);
  EXPECT_NEAR(bounds.left + bounds.right, workArea.left + workArea.right, 1) << "centred";
  EXPECT_NEAR(bounds.top + bounds.bottom, workArea.top + workArea.bottom, 1) << "centred";
  HWND current = window->control(ControlId::Text2_0);
  EXPECT_EQ(GetFocus(), current);
  for (ControlId next :
       {ControlId::Text1_0, ControlId::Text1_1, ControlId::Combo1_1, ControlId::Text2_0}) {
    current = GetNextDlgTabItem(hwnd, current, FALSE);
    EXPECT_TRUE(current == window->control(next) || GetParent(current) == window->control(next));
  }
}

// How much of a label shows: its width, less what the box it names covers of it.
int visibleWidth(const CalculatorWindow& window, ControlId label) {
  const RECT shown = rectIn(window.handle(), window.control(label));
  int width = shown.right - shown.left;
  for (const ControlDescription& c : Form1Description().controls) {
    const RECT box = rectIn(window.handle(), window.control(c.id));
    if (labelOf(c.id) == label && box.left > shown.left && box.left < shown.right) {
      width = box.left - shown.left;
    }
  }
  return width;
}

// At the window's DPI: the client area and every control's rectangle as the twips of the
// description give them, the control's font, and its caption in the window's language no wider
// than the part of its rectangle that shows (a group box's title stands in from its corner).
void expectLaidOutAt(const CalculatorWindow& window, int dpi, Language language) {
  EXPECT_EQ(window.dpi(), dpi);
  const auto px = [dpi](int twips) { return twipsToPixels(twips, dpi); };
  RECT client{};
  GetClientRect(window.handle(), &client);
  EXPECT_EQ(std::vector<LONG>({client.right, client.bottom}),
            std::vector<LONG>({px(3150), px(3375)}));
  const TwipsRect frame = Form1Description().control(ControlId::Frame1).bounds;
  for (const ControlDescription& c : Form1Description().controls) {
    SCOPED_TRACE(std::string(c.name) + std::to_string(c.member) + " at " + std::to_string(dpi));
    HWND control = window.control(c.id);
    const RECT shown = rectIn(window.handle(), control);
    const int left = c.bounds.left + (c.insideFrame ? frame.left : 0);
    const int top = c.bounds.top + (c.insideFrame ? frame.top : 0);
    EXPECT_EQ(std::vector<LONG>(
                  {shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top}),
              std::vector<LONG>({px(left), px(top), px(c.bounds.width), px(c.bounds.height)}));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW described{};
    GetObjectW(font, sizeof described, &described);
    if (language == Language::Chinese) {
      EXPECT_STREQ(described.lfFaceName, L"宋体");
      EXPECT_EQ(described.lfCharSet, 134);
    } else {
      NONCLIENTMETRICSW system{};
      system.cbSize = sizeof system;
      SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, system.cbSize, &system, 0);
      EXPECT_STREQ(described.lfFaceName, system.lfMessageFont.lfFaceName);
      EXPECT_EQ(described.lfCharSet, DEFAULT_CHARSET);
    }
    EXPECT_EQ(described.lfWeight, c.kind == ControlKind::Label ? 700 : 400);
    EXPECT_EQ(described.lfHeight, -MulDiv(105, dpi, 720)) << "10.5 pt";
    if (c.kind != ControlKind::Label && c.kind != ControlKind::Frame) continue;
    EXPECT_EQ(text(control), captionOf(c.id, language));
    const std::wstring caption = platform::toWide(captionOf(c.id, language));
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    // Drawn in letters, not boxes: every character of the caption is in the font the mapper took.
    std::vector<WORD> glyphs(caption.size());
    GetGlyphIndicesW(dc, caption.c_str(), static_cast<int>(caption.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), 0xFFFF), 0) << platform::fromWide(caption);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    const int inset = c.kind == ControlKind::Frame ? 2 * MulDiv(8, dpi, 96) : 0;
    EXPECT_LE(extent.cx, visibleWidth(window, c.id) - inset);
    // The English captions stand on a baseline inside the label and reach no lower; the Chinese
    // glyphs of the CJK fonts reach below a label, as they always have.
    if (language == Language::English && c.kind == ControlKind::Label) {
      EXPECT_LE(metrics.tmAscent, shown.bottom - shown.top);
    }
  }
}

// The language Wine speaks for this process: it takes it from LANG, and for the C locale it gives
// English, as Windows always has a language.
Language desktopLanguage() {
  const char* lang = std::getenv("LANG");
  return lang != nullptr && std::string(lang).rfind("zh", 0) == 0 ? Language::Chinese
                                                                  : Language::English;
}

// In the language the desktop speaks, so with the fonts the system gives that language (Wine maps
// "宋体" to a CJK face with Latin letters only for a Chinese locale); ctest runs it under each.
TEST(Win32Window, LaidOutFromTwipsAtTheStartDpiAndAfterEveryDpiChange) {
  const Language language = desktopLanguage();
  Win32Driver driver;
  const CalculatorWindow* window = &driver.open({});
  const char* expected = std::getenv("KORVALE_EXPECTED_DPI");
  expectLaidOutAt(*window, expected != nullptr ? std::atoi(expected) : 96, language);
  for (int dpi : {144, 192, 96}) {
    RECT suggested{};
    GetWindowRect(window->handle(), &suggested);
    SendMessageW(window->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    expectLaidOutAt(*window, dpi, language);
    RECT moved{};
    GetWindowRect(window->handle(), &moved);
    EXPECT_EQ(moved.left, suggested.left) << "the suggested rectangle is applied";
    EXPECT_EQ(moved.top, suggested.top);
  }
}

// The window speaks the user's interface language: Chinese for a Chinese one, English for any
// other. ctest runs it once more under each.
TEST(Win32Window, SpeaksTheUsersLanguage) {
  Win32Driver driver;
  EXPECT_EQ(text(driver.open({}).control(ControlId::Label1_0)),
            captionOf(ControlId::Label1_0, desktopLanguage()));
}

// The belt drive is offered in the window menu, in the window's language; the client area is
// left as the layout test has it.
TEST(Win32Window, OffersTheBeltDriveInItsWindowMenu) {
  Win32Driver driver;
  const CalculatorWindow& window = driver.open(Language::English);
  wchar_t item[64] = {};
  GetMenuStringW(GetSystemMenu(window.handle(), FALSE), IDM_BELT_DRIVE, item, 64, MF_BYCOMMAND);
  EXPECT_EQ(platform::fromWide(item), driveWord(DriveWord::MenuItem, Language::English));
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

TEST(Win32Window, EachInputAndResultIsNamedByItsLabelForScreenReaders) {
  std::map<HWND, std::string> names;
  Win32Driver driver;
  const CalculatorWindow* window =
      &driver.open(Language::Chinese, std::make_unique<RecordedNames>(names));
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
  driver.close();
  EXPECT_TRUE(names.empty()) << "every name is taken back before its control goes";
}

// Left to itself, the window would lose the focus to itself. Each way back is tried alone:
// the activation, and the focus given to the window (as on a restore from the task bar).
TEST(Win32Window, TheFocusComesBackToItsControl) {
  Win32Driver driver;
  const CalculatorWindow* window = &driver.open(Language::Chinese);
  HWND pitchCircle = window->control(ControlId::Text1_0);
  HWND teeth = window->control(ControlId::Text2_0);
  SetFocus(pitchCircle);
  SendMessageW(window->handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(teeth);
  SendMessageW(window->handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), pitchCircle) << "on activation";
  SetFocus(teeth);
  SendMessageW(window->handle(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, TRUE), 0);
  EXPECT_EQ(GetFocus(), teeth) << "not while minimised";
  SetFocus(window->handle());
  EXPECT_EQ(GetFocus(), pitchCircle) << "when the window itself gets the focus";
  SendMessageW(GetFocus(), WM_CHAR, L'7', 1);
  EXPECT_EQ(text(pitchCircle), "731.83") << "the next key lands in the box";
}

}  // namespace
}  // namespace korvale::ui::win32
