#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "state/drive_file.h"
#include "ui/drive/drive_form.h"
#include "ui/language.h"
#include "ui/win32/accessible_names.h"
#include "ui/win32/drive/drive_controls.h"

namespace korvale::ui::win32 {

// The belt-drive window on the plain Win32 API: a view of DriveForm. Every keystroke and pick
// goes to the form; the inputs, results, warnings and drawing then show what the form holds.
// Resizable, not kept on top, laid out afresh for each monitor's DPI.
class DriveWindow : private DriveFrontEnd {
 public:
  using ErrorReporter =
      std::function<void(HWND owner, const std::wstring& title, const std::wstring& message)>;

  static std::unique_ptr<DriveWindow> create(HINSTANCE instance, DriveFile file,
                                             std::optional<DriveInputs> handedOver = {},
                                             ErrorReporter reporter = {},
                                             std::unique_ptr<AccessibleNames> names = {},
                                             std::optional<Language> language = {});
  ~DriveWindow() override;
  DriveWindow(const DriveWindow&) = delete;
  DriveWindow& operator=(const DriveWindow&) = delete;

  HWND handle() const { return window_; }
  HWND input(DriveField field) const { return controls_.inputs.at(field); }
  HWND rows() const { return controls_.rows; }
  HWND notes() const { return controls_.notes; }
  HWND summary() const { return controls_.summary; }
  HWND loadNotes() const { return controls_.loadNotes; }
  DriveForm& form() { return form_; }
  // Opened from the calculator: its pulley becomes the driving one.
  void takeDrivingPulley(const std::string& profile, const std::string& teeth) {
    form_.takeDrivingPulley(profile, teeth);
    mirror();
  }

  // What the message loop does with a message before anything else: Ctrl+C copies the results
  // unless a box holds a selection, and Tab, Enter and the mnemonics work as in a dialog. True
  // when the message was taken.
  bool preTranslate(MSG& message);
  int runMessageLoop();

 private:
  DriveWindow(DriveFile file, std::optional<DriveInputs> handedOver, ErrorReporter reporter,
              std::unique_ptr<AccessibleNames> names, Language language);

  void showErrorReport(const std::string& title, const std::string& message) override;
  void copyToClipboard(const std::string& text) override;

  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT dispatchMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int controlId, int notification, HWND control);
  void OnNotify(const NMHDR& header);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnClose();
  void OnDestroy();

  void layOut();
  void mirror();
  void mirrorResults();
  void adoptSelectedRow();

  DriveForm form_;
  ErrorReporter reporter_;
  std::unique_ptr<AccessibleNames> names_;
  Language language_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  HFONT font_ = nullptr;
  DriveControls controls_;
  bool mirroring_ = false;
  DriveTextHeights textHeights_;  // what the summary and the notes took when last laid out
};

}  // namespace korvale::ui::win32
