#pragma once

#include <QAccessibleWidget>

class QLineEdit;

namespace korvale::ui::qt {

// What a screen reader gets from a box of the window: the text role, its name, its value and its
// text, whatever the length. Qt's own reading of a line edit takes a box that keeps a huge text
// out of the layout (echo mode NoEcho) for a password field and withholds its text; here every
// box is a plain editable text. A value beyond kSpokenLength characters is cut there, with the
// full length said: "1111… (200001 characters)".
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
 public:
  static constexpr int kSpokenLength = 1000;

  explicit LineEditAccessible(QLineEdit* edit);
  // Makes every box of the program read this way; the first call does it.
  static void installForEveryBox();

  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessible::State state() const override;
  QString text(QAccessible::Text kind) const override;

  // Text: offsets in characters of the whole text; what is handed over at once is cut to
  // kSpokenLength characters.
  void selection(int index, int* start, int* end) const override;
  int selectionCount() const override;
  void addSelection(int start, int end) override;
  void removeSelection(int index) override;
  void setSelection(int index, int start, int end) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int start, int end) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int start, int end) override;
  QString attributes(int offset, int* start, int* end) const override;

  // Editable text: each change goes through the box as the user's own edit would.
  void deleteText(int start, int end) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int start, int end, const QString& text) override;

 private:
  QLineEdit* edit() const;
};

}  // namespace korvale::ui::qt
