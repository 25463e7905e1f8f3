#include "ui/calculator/form1.h"

#include <exception>
#include <new>
#include <stdexcept>

#include "core/pulley_calculation.h"

namespace korvale::ui {
namespace {

constexpr int kInvalidIndex = 340;  // "Control array element does not exist"

std::string initialText(ControlId id) {
  return std::string(Form1Description().control(id).text);
}

std::vector<std::string> pitchListEntries() {
  const auto& entries = Form1Description().pitchListEntries;
  return {entries.begin(), entries.end()};
}

[[noreturn]] void noSuchMember(std::string_view array, int index) {
  throw RuntimeError(kInvalidIndex, "Control array element '" + std::to_string(index) + "' of " +
                                        std::string(array) + " does not exist");
}

}  // namespace

std::string errorReportText(const RuntimeError& error) {
  return "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description();
}

Form1::Form1(FrontEnd& frontEnd, StateFile stateFile)
    : frontEnd_(frontEnd),
      stateFile_(std::move(stateFile)),
      text1_0_(initialText(ControlId::Text1_0)),
      text1_1_(initialText(ControlId::Text1_1)),
      text2_0_(initialText(ControlId::Text2_0)),
      combo1_1_(pitchListEntries(), initialText(ControlId::Combo1_1)) {
  text2_0_.onChange([this] { Text2_Change(0); });
  combo1_1_.onChange([this] { Combo1_Change(1); });
  combo1_1_.onClick([this] { Combo1_Click(1); });
}

TextBoxModel& Form1::Text1(int index) {
  if (index == 0) return text1_0_;
  if (index == 1) return text1_1_;
  noSuchMember("Text1", index);
}

TextBoxModel& Form1::Text2(int index) {
  if (index == 0) return text2_0_;
  noSuchMember("Text2", index);
}

ComboBoxModel& Form1::Combo1(int index) {
  if (index == 1) return combo1_1_;
  noSuchMember("Combo1", index);
}

TextBoxModel& Form1::textBox(ControlId id) {
  switch (id) {
    case ControlId::Text1_0:
      return text1_0_;
    case ControlId::Text1_1:
      return text1_1_;
    case ControlId::Text2_0:
      return text2_0_;
    default:
      throw std::invalid_argument("not a text box");
  }
}

void Form1::trace(std::string_view handler) const {
  if (trace_) trace_(handler);
}

// ---- Entry points: the event boundary ----

void Form1::load() {
  dispatchInputEvent([this] { Form_Load(); });
}

void Form1::userEdited(ControlId id, std::string_view text) {
  dispatchInputEvent([&] {
    if (id == ControlId::Combo1_1) {
      combo1_1_.userTyped(text);
    } else {
      textBox(id).userEdited(text);
    }
  });
}

void Form1::userPicked(int index) {
  dispatchInputEvent([&] { combo1_1_.userPicked(index); });
}

void Form1::close() {
  if (closed_) return;
  closed_ = true;
  try {
    int cancel = 0;
    Form_QueryUnload(cancel, 0);
  } catch (const RuntimeError& error) {
    // The inputs could not be saved; the user is told, and the window closes all the same.
    showReport(errorReportText(error));
  } catch (const std::bad_alloc&) {
    showReport(errorReportText(outOfMemoryError()));
  } catch (const std::exception& error) {
    showReport(error.what());
  }
}

std::string Form1::saveAtExit() noexcept {
  if (closed_) return {};
  closed_ = true;
  try {
    int cancel = 0;
    Form_QueryUnload(cancel, 0);
    return {};
  } catch (const RuntimeError& error) {
    return errorReportText(error);
  } catch (...) {
    return errorReportText(outOfMemoryError());
  }
}

// An overflow from a recompute is reported and the program goes on: one stray keystroke must not
// end it and lose the inputs. Both results are emptied so that no figure stands beside inputs it
// was not computed from; the next change recomputes as usual.
template <class Event>
void Form1::dispatchInputEvent(Event&& event) {
  try {
    event();
  } catch (const RuntimeError& error) {
    report(error);
  } catch (const std::bad_alloc&) {
    // What the user did needed more memory than there is, and did not happen.
    report(outOfMemoryError());
  } catch (const std::exception& error) {
    // Nothing the program expects: reported, the inputs saved, and the program ends.
    showReport(error.what());
    close();
    frontEnd_.endProgram();
  }
}

void Form1::outOfMemory() {
  report(outOfMemoryError());
}

// The report's title is the window's caption.
void Form1::showReport(const std::string& message) {
  frontEnd_.showErrorReport(std::string(Form1Description().caption), message);
}

// The results are emptied before the report goes up, so that no figure stands beside inputs it was
// not computed from while the user reads it. A report raised during start-up waits until the
// window is on the screen: a report box without its window would leave the user guessing.
void Form1::report(const RuntimeError& error) {
  text1_0_.setText("");
  text1_1_.setText("");
  if (shown_) {
    showReport(errorReportText(error));
  } else {
    heldReports_.push_back(errorReportText(error));
  }
}

void Form1::windowShown() {
  if (shown_) return;
  shown_ = true;
  std::vector<std::string> held;
  held.swap(heldReports_);
  for (const std::string& message : held) showReport(message);
}

// ---- Handlers ----

void Form1::Form_Load() {
  trace("Form_Load");
  frontEnd_.makeTopmost();
  restoreSavedInputs();
  TT();
}

// A missing or broken state file leaves the design values; one that stands there but cannot be
// read is reported once the window is up, so that nobody types inputs that cannot be kept. Both
// saved texts are applied, and the entry equal to the pitch selected, even where a recompute on
// the way overflows: the inputs are the user's, and the close must save them back as they were
// read. The recompute that ends the start-up reports such an overflow, once.
void Form1::restoreSavedInputs() {
  std::optional<RuntimeError> whyNot;
  const std::optional<SavedInputs> saved = stateFile_.ReadState(&whyNot);
  if (whyNot) heldReports_.push_back(errorReportText(*whyNot));
  if (!saved) return;
  const auto ignoringOverflow = [](auto&& apply) {
    try {
      apply();
    } catch (const RuntimeError&) {
    }
  };
  ignoringOverflow([&] { text2_0_.setText(saved->teethText); });
  ignoringOverflow([&] { combo1_1_.setText(saved->pitchText); });
  const auto& entries = combo1_1_.entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == saved->pitchText) {
      ignoringOverflow([&] { combo1_1_.setSelectedIndex(static_cast<int>(i)); });
    }
  }
}

void Form1::Text2_Change(int /*index*/) {
  trace("Text2_Change");
  TT();
}

void Form1::Combo1_Change(int /*index*/) {
  trace("Combo1_Change");
  TT();
}

void Form1::Combo1_Click(int /*index*/) {
  trace("Combo1_Click");
  TT();
}

void Form1::Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {
  trace("Form_QueryUnload");
  stateFile_.WriteState(text2_0_.text(), combo1_1_.text());
}

void Form1::TT() {
  trace("TT");
  const DiameterTexts texts =
      ComputeDiameters(text2_0_.text(), combo1_1_.text(), combo1_1_.SelectedIndex(), PitchDia);
  text1_0_.setText(texts.pitchCircle);
  text1_1_.setText(texts.tipCircle);
}

}  // namespace korvale::ui
