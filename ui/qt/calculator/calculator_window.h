#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "state/state_file.h"
#include "ui/calculator/form1.h"
#include "ui/calculator/front_end.h"

class QComboBox;
class QLineEdit;

namespace korvale::ui::qt {
class LineEdit;
}

namespace korvale::ui::qt {

// The calculator's window on Qt Widgets: the widgets built from Form1Description(), each a mirror
// of its model in Form1, and every user action handed to the form. Form_Load runs inside the
// constructor, before the window is first shown.
class CalculatorWindow : public QWidget, private FrontEnd {
 public:
  // Shows the top-level error report; the default is a modal QMessageBox.
  using ErrorReporter =
      std::function<void(QWidget* parent, const QString& title, const QString& message)>;

  // The captions in `language`, by default the one for the desktop's interface language.
  explicit CalculatorWindow(StateFile stateFile, ErrorReporter reporter = {},
                            std::optional<Language> language = {});
  ~CalculatorWindow() override;

  QLineEdit* textBox(ControlId id) const;
  QComboBox* pitchComboBox() const { return combo_; }
  Form1& form() { return *form_; }

  // Tells the user that what they just did needed more memory than there is, and was not done.
  // The window registers it with the Application it runs in.
  void reportOutOfMemory();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void makeTopmost() override;
  void showErrorReport(const std::string& title, const std::string& message) override;
  void endProgram() override;

  void buildControls();
  QWidget* buildControl(const ControlDescription& control, QWidget* container);
  void bindTextBox(ControlId id, TextBoxModel& model);
  void bindComboBox(ComboBoxModel& model);
  void mirrorComboBox(const ComboBoxModel& model);
  void reportEdit(QLineEdit* edit, ControlId id, const QString& text);
  void placeCentredOnScreen();

  ErrorReporter reporter_;
  Language language_;
  std::unique_ptr<Form1> form_;
  std::map<ControlId, LineEdit*> textBoxes_;
  QComboBox* combo_ = nullptr;
  LineEdit* comboField_ = nullptr;
  QLineEdit* editReported_ = nullptr;  // the box whose user edit the form is taking in
};

}  // namespace korvale::ui::qt
