#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "state/drive_file.h"
#include "ui/calculator/window_description.h"
#include "ui/drive/drive_form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace korvale::ui::qt {
class DriveCanvas;
class FixedLines;

// The belt-drive window on Qt Widgets: a view of DriveForm. Every keystroke and pick goes to the
// form; the inputs, results, warnings and drawing then show what the form holds. Resizable, not
// kept on top.
class DriveWindow : public QWidget, private DriveFrontEnd {
 public:
  using ErrorReporter =
      std::function<void(QWidget* parent, const QString& title, const QString& message)>;

  DriveWindow(DriveFile file, std::optional<DriveInputs> handedOver = {},
              ErrorReporter reporter = {}, std::optional<Language> language = {});
  ~DriveWindow() override;

  DriveForm& form() { return *form_; }
  QLineEdit* textBox(DriveField field) const { return edits_.at(field); }
  QComboBox* list(DriveField field) const { return lists_.at(field); }
  QTableWidget* rows() const { return rows_; }
  QPushButton* copyButton() const { return copy_; }
  QLabel* summary() const { return summary_; }
  QLabel* notes() const { return notes_; }
  QLabel* loadNotes() const { return loadNotes_; }
  QLabel* loadMethods() const { return loadMethods_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showErrorReport(const std::string& title, const std::string& message) override;
  void copyToClipboard(const std::string& text) override;

  void build();
  void mirror();
  void mirrorResults();
  void adoptRow(int row);
  void fitColumns(std::size_t rowsShown);

  ErrorReporter reporter_;
  Language language_;
  std::unique_ptr<DriveForm> form_;
  std::map<DriveField, QLineEdit*> edits_;
  std::map<DriveField, QComboBox*> lists_;
  QLabel* summary_ = nullptr;
  QTableWidget* rows_ = nullptr;
  QLabel* notes_ = nullptr;
  QLabel* loadNotes_ = nullptr;
  QLabel* loadMethods_ = nullptr;
  FixedLines* summaryLines_ = nullptr;
  FixedLines* notesLines_ = nullptr;
  FixedLines* loadLines_ = nullptr;
  FixedLines* loadMethodLines_ = nullptr;
  QPushButton* copy_ = nullptr;
  DriveCanvas* canvas_ = nullptr;
};

}  // namespace korvale::ui::qt
