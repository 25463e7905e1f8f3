#pragma once

#include <QLineEdit>

namespace korvale::ui::qt {

// A QLineEdit that stays responsive with a text of many megabytes. Qt lays a line edit's whole
// text out whenever it is set and again on every repaint (4.5 s for 20 MB), which the window
// would wait for at start-up, on every focus change and at its close. A text beyond kLargeText
// characters is therefore kept out of Qt's layout (the box's echo mode is NoEcho meanwhile: its
// text, editing and signals are as ever) and drawn here, the part around the cursor, in the
// box's font and colours, with its caret and selection. Qt takes such a box for a password field
// and withholds its text from the clipboard, from undo and from screen readers; here cut, copy,
// undo and redo work as in a short box, and a screen reader reads it as a plain text.
class LineEdit : public QLineEdit {
 public:
  static constexpr int kLargeText = 100000;

  explicit LineEdit(QWidget* parent = nullptr);
  // setText for a text of any length: a large one is taken out of the layout before it is set.
  void setTextOfAnyLength(const QString& text);

  // What the box's Copy, Cut, Undo and Redo do, whatever the length of its text.
  void copyAnyLength();
  void cutAnyLength();
  void undoAnyLength();
  void redoAnyLength();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool outOfLayout() const { return echoMode() != Normal; }
  void fitEchoModeTo(qsizetype length);
  bool movedByCharacter(QKeyEvent* event);
  // Runs a step of Qt's own that it refuses out of the layout (undo, redo) with the text laid
  // out for that moment.
  template <class Step>
  void laidOut(Step step);
};

}  // namespace korvale::ui::qt
