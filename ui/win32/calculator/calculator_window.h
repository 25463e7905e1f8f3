#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "state/state_file.h"
#include "ui/calculator/form1.h"
#include "ui/calculator/front_end.h"
#include "ui/win32/accessible_names.h"

namespace korvale::ui::win32 {

// The calculator's window on the plain Win32 API: native controls built from Form1Description(),
// each a mirror of its model in Form1, and every notification that stands for a user action
// handed to the form. Form_Load runs inside create(), before the window is first shown.
class CalculatorWindow : private FrontEnd {
 public:
  // Shows the top-level error report; the default is a modal MessageBoxW.
  using ErrorReporter =
      std::function<void(HWND owner, const std::wstring& title, const std::wstring& message)>;

  // Registers the window class on first use, creates the window and its controls, runs the
  // form's start-up, then centres the window on the work area and shows it.
  // Controls are named for assistive technology through `names`, by default the system's
  // annotation service. The captions are in `language`, by default the one for the user's
  // interface language.
  static std::unique_ptr<CalculatorWindow> create(HINSTANCE instance, StateFile stateFile,
                                                  ErrorReporter reporter = {},
                                                  std::unique_ptr<AccessibleNames> names = {},
                                                  std::optional<Language> language = {});
  ~CalculatorWindow() override;
  CalculatorWindow(const CalculatorWindow&) = delete;
  CalculatorWindow& operator=(const CalculatorWindow&) = delete;

  HWND handle() const { return window_; }
  HWND control(ControlId id) const { return controls_.at(id); }
  int dpi() const { return dpi_; }
  Form1& form() { return form_; }

  // The message loop with Tab moving between the controls; returns when the window is gone.
  int runMessageLoop();

 private:
  CalculatorWindow(StateFile stateFile, ErrorReporter reporter,
                   std::unique_ptr<AccessibleNames> names, Language language);

  void makeTopmost() override;
  void showErrorReport(const std::string& title, const std::string& message) override;
  void endProgram() override;

  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT dispatchMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int controlId, int notification, HWND control);
  void OnBeltDrive();
  void OnActivate(int state, bool minimized);
  void restoreFocus();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnClose();
  void OnEndSession(bool ending);
  void OnDestroy();

  void buildControls(HINSTANCE instance);
  void layOut(int dpi);
  void nameControls();
  void forgetNames();
  void bindTextBox(ControlId id, TextBoxModel& model);
  void bindComboBox(ComboBoxModel& model);
  void mirrorComboBox(const ComboBoxModel& model);
  std::string windowText(HWND control) const;
  void setWindowTextMuted(HWND control, const std::string& text);

  Form1 form_;
  ErrorReporter reporter_;
  std::unique_ptr<AccessibleNames> names_;
  Language language_;
  std::vector<HWND> named_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  HFONT regularFont_ = nullptr;
  HFONT boldFont_ = nullptr;
  std::map<ControlId, HWND> controls_;
  bool mirroring_ = false;
  HWND focusToRestore_ = nullptr;
};

}  // namespace korvale::ui::win32
