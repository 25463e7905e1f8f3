#pragma once

#include <QLineEdit>

namespace korvale::ui::qt {

// A QLineEdit that stays responsive with a text of many megabytes. Qt lays the whole text out
// again on every repaint (4.5 s for 20 MB), which a window drawn after a focus change, an
// activation or a close would wait for. Beyond kLargeText characters only the part around the
// cursor is drawn, in the box's font and colours, without the text layout, caret or selection.
class LineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  static constexpr int kLargeText = 100000;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvale::ui::qt
