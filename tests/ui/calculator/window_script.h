#pragma once

// What a person does in the calculator window and what it must then show, written once and run
// through each front end's real widgets by a small driver (Qt's and Win32's window tests).
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temporary_directory.h"
#include "ui/calculator/window_description.h"

namespace korvale::ui::testing {

// The next allocation of at least this many bytes fails, when it is not zero: a paste beyond the
// memory left. Each window test program replaces the global operator new to honour it.
inline std::size_t failAllocationsFrom = 0;
inline void failAllocationsFor(const std::string& pasted) {
  failAllocationsFrom = pasted.size() > 100000 ? pasted.size() : 0;
}

enum class Act {
  Open,         // a new window over the same state folder
  Type,         // keys at the caret of `box`: '\b' Backspace, '<' Home, '>' Right, '$' End
  Replace,      // all of `box` selected and the text typed over it, committed as an input method
                // would (so non-ASCII arrives whole)
  Paste,        // all of `box` selected and `text` pasted; beyond 100,000 characters its copy
                // finds no memory left
  Click,        // a mouse click where `box` stands, then `text` typed
  Pick,         // the entry at index `text` chosen from the opened list
  Down,         // the Down (or with text "up", Up) key in the pitch field
  TryToSelect,  // Enter in the pitch field, its list opened and closed unused, the focus moved on
  Close,        // the window's close button
  EndSession,   // the user logs off: the session ends without a close
  FailUnexpectedly,  // `text` typed into `box`, its recompute (TT) meeting an error nobody
                     // expected: reported, the inputs saved, and the program ended
  WriteFile,         // the state file holds `text` before the next Open
  FolderInWay,       // a folder stands where the state file belongs before the next Open
};

struct Step {
  Act act;
  ControlId box = ControlId::Text2_0;
  std::string text = {};
  // What is expected afterwards; nullptr leaves it unchecked.
  const char* shown = nullptr;     // "teeth | pitch | D | Da"
  const char* handlers = nullptr;  // the handlers the step ran: "Combo1_Click TT"
  const char* report = nullptr;    // the report it raised, and what the window showed beneath it
                                   // (the state file's path written "Rede.txt")
  const char* saved = nullptr;     // the state file's bytes
};

// The front end under test, as a person uses it.
class WindowDriver {
 public:
  virtual ~WindowDriver() = default;
  virtual void open() = 0;
  virtual void act(const Step& step) = 0;
  virtual std::string shown() = 0;
  // Whether the program was ended: its window gone and its event loop told to stop.
  virtual bool ended() = 0;

  korvale::testing::TemporaryDirectory directory;
  std::string handlers;              // run since the step began, "Text2_Change TT "
  std::vector<std::string> reports;  // "Korvale: Run-time error '6':\n\nOverflow over 1E308 | ..."

 protected:
  // A report box as it went up: its title and text, and what the window showed beneath it.
  void recordReport(const std::string& title, const std::string& message, bool windowShown) {
    reports.push_back(title + ": " + message + " over " + (windowShown ? shown() : "no window"));
  }
  // What the form is given to name each handler it runs.
  std::function<void(std::string_view)> handlerRecorder() {
    return [this](std::string_view name) { handlers += std::string(name) + " "; };
  }
};

inline constexpr const char* kPicked[] = {"20 | 3M | 19.09 | 18.33", "20 | 5M | 31.83 | 30.69",
                                          "20 | 8M | 50.92 | 49.55", "20 | 14M | 89.12 | 86.32"};

// One table of scenarios, each starting on a fresh state folder.
inline const std::vector<std::vector<Step>>& windowScenarios() {
  using A = Act;
  const auto t = ControlId::Text2_0;
  const auto pitch = ControlId::Combo1_1;
  const auto d = ControlId::Text1_0;
  const auto da = ControlId::Text1_1;
  // A pitch longer than a toolkit's default limit for an entry (32,767 characters in Qt).
  static const std::string longPitch = std::string(39999, '0') + "5";
  static const std::string longPitchShown = "20 | " + longPitch + " | 31.83 | 31.83";
  // clang-format off
  static const std::vector<std::vector<Step>> scenarios = {
      // Every keystroke updates both results, wherever the caret stands.
      {{A::Open},
       {A::Replace, t, "", " | 5M | 0 | 0"},
       {A::Type, t, "2", "2 | 5M | 3.18 | 3.18", "Text2_Change TT "},
       {A::Type, t, "3", "23 | 5M | 36.6 | 36.6"},
       {A::Type, t, ".", "23. | 5M | 36.6 | 36.6"},
       {A::Type, t, "5", "23.5 | 5M | 37.4 | 37.4"},
       {A::Type, t, "\b", "23. | 5M | 36.6 | 36.6"},
       {A::Replace, t, "250"},
       {A::Type, t, "<>>1", "2510 | 5M | 3994.78 | 3994.78"},
       {A::Type, t, "9", "25190 | 5M | 40091.13 | 40091.13"}},
      // Every entry picked from the list or with the keys; typing into a pick; picking again.
      {{A::Open},
       {A::Down, {}, "", kPicked[0]},
       {A::Pick, {}, "3", kPicked[3], "Combo1_Click TT "},
       {A::Pick, {}, "0", kPicked[0], "Combo1_Click TT "},
       {A::Pick, {}, "2", kPicked[2], "Combo1_Click TT "},
       {A::Pick, {}, "1", kPicked[1], "Combo1_Click TT "},
       {A::Paste, pitch, "5M", kPicked[1], ""},
       {A::Down, {}, "", kPicked[2]},
       {A::Down, {}, "", kPicked[3]},
       {A::Down, {}, "up", kPicked[2]},
       {A::Down, {}, "up", kPicked[1]},
       {A::Down, {}, "up", kPicked[0]},
       {A::Pick, {}, "3", kPicked[3]},
       {A::Type, pitch, "<>05", "20 | 1054M | 6709.97 | 6709.97"},
       {A::Pick, {}, "3", kPicked[3]},
       {A::Replace, pitch, "8", "20 | 8 | 50.92 | 50.92"},
       {A::Pick, {}, "3", kPicked[3]}},
      // A typed text selects nothing, even an entry's: not by Enter, the list or leaving.
      {{A::Open},
       {A::Replace, pitch, "5M", "20 | 5M | 31.83 | 31.83"},
       {A::TryToSelect, {}, "", "20 | 5M | 31.83 | 31.83", ""},
       {A::Pick, {}, "2"},
       {A::Replace, pitch, "8M", "20 | 8M | 50.92 | 50.92"},
       {A::Replace, pitch, "1", "20 | 1 | 6.36 | 6.36"}},
      // An edit in a result box runs nothing, and the next input recomputes as ever; a click
      // where a result stands reaches that box, which a pick then shows recomputed again.
      {{A::Open},
       {A::Replace, d, "9", "20 | 5M | 9 | 31.83", ""},
       {A::Type, t, "3", "203 | 5M | 323.08 | 323.08"},
       {A::Click, da, "$7", "203 | 5M | 323.08 | 323.087"},
       {A::Click, d, "$1", "203 | 5M | 323.081 | 323.087"},
       {A::Pick, {}, "1", "203 | 5M | 323.08 | 321.94"}},
      // An overflow is reported over emptied results, and the window goes on.
      {{A::Open},
       {A::Pick, {}, "3"},
       {A::Replace, t, "1E308", "1E308 | 14M |  | ", nullptr, "Korvale: Run-time error '6':\n\nOverflow over 1E308 | 14M |  | "},
       {A::Type, t, "\b", "1E30 | 14M | 4.45633840599119E+30 | 4.45633840599119E+30"},
       {A::Close, {}, "", nullptr, nullptr, nullptr, "\"1E30\"\r\n\"14M\"\r\n"}},
      // An overflow the file brings is applied whole and reported once the window is shown;
      // closing untouched saves what was read.
      {{A::WriteFile, {}, "\"1E400\"\r\n\"8M\"\r\n"},
       {A::Open, {}, "", "1E400 | 8M |  | ", nullptr, "Korvale: Run-time error '6':\n\nOverflow over 1E400 | 8M |  | "},
       {A::Close, {}, "", nullptr, nullptr, nullptr, "\"1E400\"\r\n\"8M\"\r\n"}},
      // A state file that stands there but cannot be read is reported once the window is shown,
      // so that nobody types inputs that cannot be kept.
      {{A::FolderInWay},
       {A::Open, {}, "", "20 | 5M | 31.83 | 31.83", nullptr, "Korvale: Run-time error '75':\n\nCannot restore \"Rede.txt\": Not a regular file over 20 | 5M | 31.83 | 31.83"}},
      // A paste beyond the memory left is reported; the box keeps what the form holds, and the
      // window goes on and saves it.
      {{A::Open},
       {A::Paste, t, std::string(200000, '7'), "20 | 5M |  | ", nullptr, "Korvale: Run-time error '7':\n\nOut of memory over 20 | 5M |  | "},
       {A::Type, t, "$3", "203 | 5M | 323.08 | 323.08"},
       {A::Close, {}, "", nullptr, nullptr, nullptr, "\"203\"\r\n\"5M\"\r\n"}},
      // A text of any length is taken whole.
      {{A::Open}, {A::Paste, pitch, longPitch, longPitchShown.c_str()}},
      // Non-ASCII inputs arrive whole and are kept as they are.
      {{A::Open}, {A::Replace, t, "２０"}, {A::Replace, pitch, "五M", "２０ | 五M | 0 | 0"}},
      // The session's end saves without a close; a close that still comes saves no more.
      {{A::Open},
       {A::Replace, t, "25"},
       {A::EndSession, {}, "", nullptr, "Form_QueryUnload ", nullptr, "\"25\"\r\n\"5M\"\r\n"},
       {A::Close, {}, "", nullptr, ""}},
      // An error nobody expects is reported over the window, the inputs are saved, and the
      // program ends.
      {{A::Open},
       {A::FailUnexpectedly, t, "3", nullptr, nullptr, "Korvale: broken over 203 | 5M | 31.83 | 31.83", "\"203\"\r\n\"5M\"\r\n"}},
      // Closing saves once, and the next window restores, selection included.
      {{A::Open},
       {A::Replace, t, "25"},
       {A::Pick, {}, "2"},
       {A::Close, {}, "", nullptr, "Form_QueryUnload ", nullptr, "\"25\"\r\n\"8M\"\r\n"},
       {A::Open, {}, "", "25 | 8M | 63.66 | 62.29"},
       {A::WriteFile, {}, "\"20\"\r\n\"3M\"\r\n"},
       {A::Open, {}, "", kPicked[0]},
       {A::Down, {}, "", kPicked[1]}},
  };
  // clang-format on
  return scenarios;
}

// Runs every scenario through a front end's driver, each on a fresh one.
template <class Driver>
void runWindowScenarios() {
  int number = 0;
  for (const std::vector<Step>& scenario : windowScenarios()) {
    ++number;
    Driver driver;
    const std::filesystem::path statePath = driver.directory.path() / "Rede.txt";
    int index = 0;
    for (const Step& step : scenario) {
      ++index;
      SCOPED_TRACE("scenario " + std::to_string(number) + ", step " + std::to_string(index));
      driver.handlers.clear();
      driver.reports.clear();
      if (step.act == Act::WriteFile || step.act == Act::FolderInWay) {
        if (step.act == Act::WriteFile) driver.directory.write("Rede.txt", step.text);
        if (step.act == Act::FolderInWay) std::filesystem::create_directory(statePath);
        continue;
      }
      driver.act(step);
      failAllocationsFrom = 0;
      EXPECT_EQ(driver.ended(), step.act == Act::FailUnexpectedly);
      if (step.shown) {
        EXPECT_EQ(driver.shown(), step.shown);
      }
      if (step.handlers) {
        EXPECT_EQ(driver.handlers, step.handlers);
      }
      if (step.report) {
        for (std::string& report : driver.reports) {
          const std::size_t at = report.find(statePath.u8string());
          if (at != std::string::npos) report.replace(at, statePath.u8string().size(), "Rede.txt");
        }
        EXPECT_EQ(driver.reports, std::vector<std::string>{step.report});
      }
      if (step.saved) {
        EXPECT_EQ(driver.directory.read("Rede.txt"), step.saved);
      }
    }
  }
}

}  // namespace korvale::ui::testing

// GCC takes the replaced pair below for a mismatch once it inlines them into a caller.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

// Replaces the global allocation functions of a window test program: the next allocation of at
// least failAllocationsFrom bytes fails.
#define KORVALE_FAILING_OPERATOR_NEW                                     \
  void* operator new(std::size_t size) {                                 \
    const std::size_t limit = korvale::ui::testing::failAllocationsFrom; \
    if (limit != 0 && size >= limit) throw std::bad_alloc();             \
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory; \
    throw std::bad_alloc();                                              \
  }                                                                      \
  void operator delete(void* memory) noexcept {                          \
    std::free(memory);                                                   \
  }                                                                      \
  void operator delete(void* memory, std::size_t) noexcept {             \
    std::free(memory);                                                   \
  }
