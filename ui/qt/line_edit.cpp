#include "ui/qt/line_edit.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace korvale::ui::qt {

void LineEdit::paintEvent(QPaintEvent* event) {
  const QString shown = text();
  if (shown.size() <= kLargeText) return QLineEdit::paintEvent(event);
  QPainter painter(this);
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
  const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
  // A box shows a few dozen characters: those before the cursor, or the first ones.
  constexpr int kDrawn = 200;
  const int from = qMax(0, cursorPosition() - kDrawn / 2);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(contents.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   shown.mid(from, kDrawn));
}

}  // namespace korvale::ui::qt
