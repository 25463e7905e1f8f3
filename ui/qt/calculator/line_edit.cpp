#include "ui/qt/calculator/line_edit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include "ui/qt/calculator/line_edit_accessible.h"

namespace korvale::ui::qt {

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {
  LineEditAccessible::installForEveryBox();
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

template <class Step>
void LineEdit::laidOut(Step step) {
  if (!outOfLayout()) return step();
  setUpdatesEnabled(false);
  setEchoMode(Normal);
  step();
  fitEchoModeTo(text().size());
  setUpdatesEnabled(true);
}

void LineEdit::copyAnyLength() {
  if (hasSelectedText()) QGuiApplication::clipboard()->setText(selectedText());
}

void LineEdit::cutAnyLength() {
  if (!hasSelectedText() || isReadOnly()) return;
  copyAnyLength();
  del();
}

void LineEdit::undoAnyLength() {
  laidOut([this] { undo(); });
}

void LineEdit::redoAnyLength() {
  laidOut([this] { redo(); });
}

// Qt moves the cursor a character at a time through the text's layout, which a huge text does
// not have: it is moved here, a UTF-16 surrogate pair taken whole.
bool LineEdit::movedByCharacter(QKeyEvent* event) {
  const bool back = event->matches(QKeySequence::MoveToPreviousChar) ||
                    event->matches(QKeySequence::SelectPreviousChar);
  const bool select = event->matches(QKeySequence::SelectPreviousChar) ||
                      event->matches(QKeySequence::SelectNextChar);
  if (!back && !select && !event->matches(QKeySequence::MoveToNextChar)) return false;
  const QString whole = text();
  const int cursor = cursorPosition();
  int moved = qBound(0, cursor + (back ? -1 : 1), static_cast<int>(whole.size()));
  if (moved > 0 && moved < whole.size() && whole.at(moved).isLowSurrogate()) moved += back ? -1 : 1;
  if (select) {
    const int anchor = !hasSelectedText()           ? cursor
                       : cursor == selectionStart() ? selectionStart() + selectionLength()
                                                    : selectionStart();
    setSelection(anchor, moved - anchor);
  } else if (hasSelectedText()) {
    const int start = selectionStart();
    setCursorPosition(back ? start : start + selectionLength());
  } else {
    setCursorPosition(moved);
  }
  return true;
}

void LineEdit::keyPressEvent(QKeyEvent* event) {
  if (outOfLayout() && movedByCharacter(event)) return event->accept();
  if (outOfLayout()) {
    const std::pair<QKeySequence::StandardKey, void (LineEdit::*)()> ownSteps[] = {
        {QKeySequence::Copy, &LineEdit::copyAnyLength},
        {QKeySequence::Cut, &LineEdit::cutAnyLength},
        {QKeySequence::Undo, &LineEdit::undoAnyLength},
        {QKeySequence::Redo, &LineEdit::redoAnyLength},
    };
    for (const auto& [key, step] : ownSteps) {
      if (event->matches(key)) {
        (this->*step)();
        event->accept();
        return;
      }
    }
  }
  QLineEdit::keyPressEvent(event);
}

// Qt's own menu, its Copy, Cut, Undo and Redo doing here what they do in a short box.
void LineEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (outOfLayout()) {
    const std::pair<const char*, void (LineEdit::*)()> ownSteps[] = {
        {"edit-copy", &LineEdit::copyAnyLength},
        {"edit-cut", &LineEdit::cutAnyLength},
        {"edit-undo", &LineEdit::undoAnyLength},
        {"edit-redo", &LineEdit::redoAnyLength},
    };
    for (const auto& [name, step] : ownSteps) {
      if (auto* action = menu->findChild<QAction*>(QLatin1String(name))) {
        action->disconnect();
        action->setEnabled(std::string_view(name) == "edit-copy" ? hasSelectedText()
                           : std::string_view(name) == "edit-cut"
                               ? hasSelectedText() && !isReadOnly()
                               : !isReadOnly());
        connect(action, &QAction::triggered, this, step);
      }
    }
  }
  menu->popup(event->globalPos());
}

void LineEdit::paintEvent(QPaintEvent* event) {
  if (!outOfLayout()) return QLineEdit::paintEvent(event);
  QPainter painter(this);
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
  const QRect contents =
      style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).adjusted(2, 0, -2, 0);
  // A box shows a few dozen characters: the first ones while the cursor is among them, else
  // those just before the cursor (or the end of the selection beyond it), against the right
  // edge, as a line edit scrolls.
  constexpr int kDrawn = 200;
  const QString whole = text();
  const int cursor = cursorPosition();
  const int last = hasSelectedText() ? qMax(cursor, selectionStart() + selectionLength()) : cursor;
  const bool atStart = cursor < kDrawn / 10;
  const int first = atStart ? 0 : qMax(0, last - kDrawn);
  const QString shown = whole.mid(first, atStart ? kDrawn : last - first);
  const QFontMetrics metrics = fontMetrics();
  const int left = atStart ? contents.left() : contents.right() - metrics.horizontalAdvance(shown);
  const auto xAt = [&](int position) {
    return left + metrics.horizontalAdvance(shown.left(qBound(0, position - first, shown.size())));
  };
  const QRect line(left, contents.top(), contents.right() - left + 1, contents.height());
  painter.setClipRect(contents);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(line, Qt::AlignVCenter | Qt::AlignLeft, shown);
  if (hasSelectedText()) {
    const int start = selectionStart();
    const QRect selected(QPoint(xAt(start), contents.top()),
                         QPoint(xAt(start + selectionLength()) - 1, contents.bottom()));
    painter.fillRect(selected, palette().color(QPalette::Highlight));
    painter.save();
    painter.setClipRect(selected & contents);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(line, Qt::AlignVCenter | Qt::AlignLeft, shown);
    painter.restore();
  }
  if (hasFocus()) {
    const int x = qMin(xAt(cursor), contents.right());
    painter.fillRect(QRect(x, contents.top() + 1, 1, contents.height() - 2),
                     palette().color(QPalette::Text));
  }
}

}  // namespace korvale::ui::qt
