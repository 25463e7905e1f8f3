#include "ui/qt/line_edit.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace korvale::ui::qt {

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {
  // A user's edit has been laid out once already; from then on the text stays out of the layout.
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString& text) { fitEchoModeTo(text.size()); });
}

void LineEdit::setTextOfAnyLength(const QString& text) {
  fitEchoModeTo(text.size());
  setText(text);
}

void LineEdit::fitEchoModeTo(qsizetype length) {
  const EchoMode mode = length > kLargeText ? NoEcho : Normal;
  if (echoMode() != mode) setEchoMode(mode);
}

void LineEdit::paintEvent(QPaintEvent* event) {
  if (echoMode() == Normal) return QLineEdit::paintEvent(event);
  QPainter painter(this);
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
  const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
  // A box shows a few dozen characters: the first ones while the cursor is among them, else
  // those just before the cursor, against the right edge, as a line edit scrolls.
  constexpr int kDrawn = 200;
  const QString shown = text();
  const int cursor = cursorPosition();
  const bool atStart = cursor < kDrawn / 10;
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(
      contents.adjusted(2, 0, -2, 0), Qt::AlignVCenter | (atStart ? Qt::AlignLeft : Qt::AlignRight),
      atStart ? shown.left(kDrawn) : shown.mid(qMax(0, cursor - kDrawn), qMin(cursor, kDrawn)));
}

}  // namespace korvale::ui::qt
