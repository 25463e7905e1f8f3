#pragma once

#include <string>

namespace korvale::ui {

// What the form needs from the toolkit that shows it. Qt and Win32 each implement it; the tests
// use a fake that records what it is asked.
class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // Keep the window above every window that is not topmost itself, without moving or resizing it.
  virtual void makeTopmost() = 0;
  // A modal message box with this title and message; returns when the user dismissed it.
  virtual void showErrorReport(const std::string& title, const std::string& message) = 0;
  // Close the window and end the program without running the close handler again.
  virtual void endProgram() = 0;
};

}  // namespace korvale::ui
