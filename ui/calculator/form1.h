#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime_error.h"
#include "state/state_file.h"
#include "ui/calculator/combo_box_model.h"
#include "ui/calculator/front_end.h"
#include "ui/calculator/text_box_model.h"
#include "ui/calculator/window_description.h"

namespace korvale::ui {

// The calculator window without its toolkit: the models of its input and result controls, its
// handlers, its start-up and close. A front end builds the widgets from Form1Description(),
// mirrors the models, and reports through the entry points below what the user did.
class Form1 {
 public:
  Form1(FrontEnd& frontEnd, StateFile stateFile);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Controls, by array name and member index as the window knows them: Text1(0) is D, Text1(1)
  // is Da, Text2(0) the teeth entry, Combo1(1) the pitch field. Another index throws.
  TextBoxModel& Text1(int index);
  TextBoxModel& Text2(int index);
  ComboBoxModel& Combo1(int index);
  TextBoxModel& textBox(ControlId id);

  // Entry points for a front end, one per thing the user or the system did. Errors stop here:
  // they go to the error report and never into the toolkit's event loop.
  void load();         // the window exists, not yet shown
  void windowShown();  // on the screen: a report held back during start-up goes up over it
  void userEdited(ControlId id, std::string_view text);  // typing, deleting, pasting, undo
  void userPicked(int index);                            // an entry of the pitch list chosen
  void close();                                          // a close request, whatever its reason
  // An allocation failed while the front end handled an event: reported as error 7 over emptied
  // results, as one inside the form is, and the program goes on.
  void outOfMemory();
  // The program is ending without a close (the display went away, a library called exit()):
  // the inputs are saved all the same. Returns the report's text when that failed, for want of a
  // window to show it in; nothing when saved, or when the window had closed already.
  std::string saveAtExit() noexcept;

  // The recompute: D and Da from the teeth text, the pitch text and the pitch list's selection.
  // Throws the overflow RuntimeError with both result boxes unchanged.
  void TT();

  // Test hook: told the name of every handler as it starts ("Form_Load", "Text2_Change", "TT").
  void traceHandlers(std::function<void(std::string_view)> trace) { trace_ = std::move(trace); }

 private:
  void Form_Load();
  void Text2_Change(int index);
  void Combo1_Change(int index);
  void Combo1_Click(int index);
  void Form_QueryUnload(int& cancel, int unloadMode);

  void restoreSavedInputs();
  void trace(std::string_view handler) const;
  template <class Event>
  void dispatchInputEvent(Event&& event);
  void report(const RuntimeError& error);
  void showReport(const std::string& message);

  FrontEnd& frontEnd_;
  StateFile stateFile_;
  TextBoxModel text1_0_;
  TextBoxModel text1_1_;
  TextBoxModel text2_0_;
  ComboBoxModel combo1_1_;
  double PitchDia = 0;
  bool closed_ = false;
  bool shown_ = false;
  std::vector<std::string> heldReports_;
  std::function<void(std::string_view)> trace_;
};

// The text of the top-level error report: "Run-time error '6':\n\nOverflow".
std::string errorReportText(const RuntimeError& error);

}  // namespace korvale::ui
