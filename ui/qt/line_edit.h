#pragma once

#include <QLineEdit>

namespace korvale::ui::qt {

// A QLineEdit that stays responsive with a text of many megabytes. Qt lays a line edit's whole
// text out whenever it is set and again on every repaint (4.5 s for 20 MB), which the window
// would wait for at start-up, on every focus change and at its close. A text beyond kLargeText
// characters is therefore kept out of Qt's layout (the box's echo mode is NoEcho meanwhile: its
// text, editing and signals are as ever) and drawn here, the part around the cursor, in the
// box's font and colours, without caret or selection.
class LineEdit : public QLineEdit {
 public:
  static constexpr int kLargeText = 100000;

  explicit LineEdit(QWidget* parent = nullptr);
  // setText for a text of any length: a large one is taken out of the layout before it is set.
  void setTextOfAnyLength(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void fitEchoModeTo(qsizetype length);
};

}  // namespace korvale::ui::qt
