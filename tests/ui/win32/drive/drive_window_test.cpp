#include "ui/win32/drive/drive_window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>

#include "tests/ui/drive/drive_script.h"
#include "text_encoding/utf16.h"
#include "ui/drive/drive_words.h"
#include "ui/win32/command_line.h"

namespace korvale::ui::win32 {
namespace {

class NoNames : public AccessibleNames {
 public:
  void name(HWND, const std::wstring&) override {}
  void forget(HWND) override {}
};

std::string textOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return platform::fromWide(text);
}

std::string cellOf(HWND list, int row, int column) {
  wchar_t text[64] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 64;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return platform::fromWide(text);
}

// A key as the message loop gets it, through the window's own translation first.
void press(DriveWindow& window, HWND target, WPARAM key, bool control = false) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_CONTROL] = control ? 0x80 : 0;
  SetKeyboardState(state);
  MSG message{target, WM_KEYDOWN, key, 1, 0, {}};
  if (!window.preTranslate(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  state[VK_CONTROL] = 0;
  SetKeyboardState(state);
}

// The drive window's real controls, sent the messages a person's keys make.
class Win32DriveDriver : public testing::DriveDriver {
 public:
  ~Win32DriveDriver() override { window_.reset(); }
  void act(const testing::DriveStep& step) override {
    using A = testing::DriveAct;
    switch (step.act) {
      case A::Start:
        window_ = DriveWindow::create(
            GetModuleHandleW(nullptr), DriveFile(directory.u8path()), std::nullopt,
            [this](HWND, const std::wstring&, const std::wstring& message) {
              reports += "[" + platform::fromWide(message) + "]";
            },
            std::make_unique<NoNames>(), Language::English);
        ASSERT_NE(window_, nullptr);
        {
          RECT list{};
          GetClientRect(window_->rows(), &list);
          int columns = 0;
          for (int c = 0; c < 9; ++c) columns += ListView_GetColumnWidth(window_->rows(), c);
          EXPECT_LE(columns, list.right) << "a column out of sight at the window's first size";
        }
        break;
      case A::Type: {
        HWND edit = window_->input(step.field);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        for (const wchar_t key : platform::toWide(*step.text == '\0' ? "\b" : step.text)) {
          SendMessageW(edit, WM_CHAR, key, 1);
        }
        break;
      }
      case A::Pick: {
        HWND list = window_->input(step.field);
        SetFocus(list);
        const int steps =
            std::stoi(step.text) - static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
        for (int i = 0; i < std::abs(steps); ++i)
          press(*window_, list, steps > 0 ? VK_DOWN : VK_UP);
        break;
      }
      case A::Adopt: {
        LVITEMW selected{};
        selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        selected.state = selected.stateMask;
        SendMessageW(window_->rows(), LVM_SETITEMSTATE, static_cast<WPARAM>(std::stoi(step.text)),
                     reinterpret_cast<LPARAM>(&selected));
        SetFocus(window_->rows());
        press(*window_, window_->rows(), VK_RETURN);
        break;
      }
      case A::Click: {
        RECT cell{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(window_->rows(), LVM_GETITEMRECT, static_cast<WPARAM>(std::stoi(step.text)),
                     reinterpret_cast<LPARAM>(&cell));
        const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        SendMessageW(window_->rows(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(window_->rows(), WM_LBUTTONUP, 0, at);
        break;
      }
      case A::Paste: {
        const std::wstring text = platform::toWide(testing::pastedText(step));
        if (OpenClipboard(nullptr)) {
          EmptyClipboard();
          HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
          std::copy(text.c_str(), text.c_str() + text.size() + 1,
                    static_cast<wchar_t*>(GlobalLock(memory)));
          GlobalUnlock(memory);
          SetClipboardData(CF_UNICODETEXT, memory);
          CloseClipboard();
        }
        HWND edit = window_->input(step.field);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, WM_PASTE, 0, 0);
        break;
      }
      case A::Copy:
        SetFocus(window_->rows());
        press(*window_, window_->rows(), 'C', true);
        if (OpenClipboard(nullptr)) {
          if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            std::wstring text(static_cast<const wchar_t*>(GlobalLock(data)));
            GlobalUnlock(data);
            clipboard.clear();
            for (char c : platform::fromWide(text)) {
              if (c != '\r') clipboard += c;
            }
          }
          CloseClipboard();
        }
        break;
      case A::Close: {
        SendMessageW(window_->handle(), WM_CLOSE, 0, 0);
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        break;
      }
    }
  }

  std::string text(DriveField field) override { return textOf(window_->input(field)); }
  // Whether a label's text needs more lines than the label shows.
  static bool cut(HWND notes) {
    RECT box{};
    GetClientRect(notes, &box);
    RECT needed{0, 0, box.right, 0};
    const std::wstring text = platform::toWide(textOf(notes));
    HDC dc = GetDC(notes);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(notes, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc, old);
    ReleaseDC(notes, dc);
    return needed.bottom > box.bottom;
  }
  // What the window shows, as far as it is shown whole: a figure its column cuts reads "cut",
  // and so do notes their control cuts.
  std::string shown() override {
    HWND rows = window_->rows();
    const int count = static_cast<int>(SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0));
    const bool linesCut = cut(window_->notes()) || cut(window_->summary());
    const std::string notes = linesCut ? "cut" : textOf(window_->notes());
    const std::string load = cut(window_->loadNotes()) ? "cut" : textOf(window_->loadNotes());
    if (count == 0) return "error: " + notes;
    std::vector<std::vector<std::string>> cells(static_cast<std::size_t>(count));
    const int columns = Header_GetItemCount(ListView_GetHeader(rows));
    for (int r = 0; r < count; ++r) {
      for (int c = 0; c < columns; ++c) {
        // The load's columns have no width without a load.
        if (c >= 9 && ListView_GetColumnWidth(rows, c) == 0) continue;
        const std::wstring cell = platform::toWide(cellOf(rows, r, c));
        // A list view keeps six pixels clear either side of a cell's text.
        const LRESULT width =
            SendMessageW(rows, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(cell.c_str()));
        const bool whole = width + 12 <= ListView_GetColumnWidth(rows, c);
        cells[static_cast<std::size_t>(r)].push_back(whole ? platform::fromWide(cell) : "cut");
      }
    }
    std::vector<std::string> lines;
    for (std::size_t from = 0; from < notes.size();) {
      const std::size_t end = notes.find("\r\n", from);
      lines.push_back(notes.substr(from, end - from));
      from = end == std::string::npos ? notes.size() : end + 2;
    }
    wchar_t heading[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = heading;
    column.cchTextMax = 64;
    SendMessageW(rows, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    const std::string title = platform::fromWide(heading);
    return testing::shownFrom(
        cells, lines, title.substr(title.find('(') + 1, title.find(')') - title.find('(') - 1),
        load.substr(0, load.find("\r\n")));
  }

 private:
  std::unique_ptr<DriveWindow> window_;
};

TEST(Win32DriveWindow, PlaysTheDriveScenario) {
  Win32DriveDriver driver;
  testing::playDriveScenario(driver);
}

// The drive's words on the command line come through whole, as Windows programs read them, and so
// does whatever the calculator hands over: its teeth text, blanks, quotes and backslashes included.
TEST(Win32DriveWindow, ReadsItsCommandLineAsWindowsProgramsDo) {
  const auto words = [](const std::wstring& line) {
    std::string joined;
    for (const std::string& word : commandLineWords(line.c_str())) joined += word + "|";
    return joined;
  };
  EXPECT_EQ(words(L"/drive 14M 28 \"112\""), "/drive|14M|28|112|");
  EXPECT_EQ(words(L"  /drive\t\"2 0\"  \"\""), "/drive|2 0||");
  EXPECT_EQ(words(L"a\\\\b \\\"c\\\" d\\\\\\\"e \"20\\\\\""), "a\\\\b|\"c\"|d\\\"e|20\\|");
  for (const std::wstring teeth : {L"20", L"2 0\"", L"20\\", L"\\\\\"", L"", L"\x9f7f 20"}) {
    EXPECT_EQ(words(L"/pulley " + quotedWord(teeth)), "/pulley|" + platform::fromWide(teeth) + "|");
  }
  EXPECT_EQ(quotedWord(L"2 0\""), L"\"2 0\\\"\"");
}

// What a screen reader calls each input, in each language; and the window laid out afresh when it
// moves to a monitor of another scale.
TEST(Win32DriveWindow, NamesItsInputsAndFollowsTheMonitorsScale) {
  class Recorded : public AccessibleNames {
   public:
    explicit Recorded(std::map<HWND, std::string>& names) : names_(names) {}
    void name(HWND control, const std::wstring& name) override {
      names_[control] = platform::fromWide(name);
    }
    void forget(HWND control) override { names_.erase(control); }

   private:
    std::map<HWND, std::string>& names_;
  };
  const auto& inputs = kDriveInputs;
  for (const Language language : {Language::English, Language::Chinese}) {
    korvale::testing::TemporaryDirectory directory;
    std::map<HWND, std::string> names;
    auto window = DriveWindow::create(
        GetModuleHandleW(nullptr), DriveFile(directory.u8path()), std::nullopt,
        [](HWND, const std::wstring&, const std::wstring&) {}, std::make_unique<Recorded>(names),
        language);
    ASSERT_NE(window, nullptr);
    for (const auto& [field, word] : inputs) {
      EXPECT_EQ(names[window->input(field)], driveName(word, language));
    }
    for (const int dpi : {144, 192, 96}) {
      RECT suggested{};
      GetWindowRect(window->handle(), &suggested);
      SendMessageW(window->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
      RECT box{};
      GetWindowRect(window->input(DriveField::Z1), &box);
      EXPECT_EQ(box.bottom - box.top, MulDiv(23, dpi, 96)) << dpi;
      LOGFONTW font{};
      GetObjectW(
          reinterpret_cast<HFONT>(SendMessageW(window->input(DriveField::Z1), WM_GETFONT, 0, 0)),
          sizeof font, &font);
      EXPECT_EQ(font.lfHeight, -MulDiv(90, dpi, 720)) << dpi;
    }
    window.reset();
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
}

}  // namespace
}  // namespace korvale::ui::win32
