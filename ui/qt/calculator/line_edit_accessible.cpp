#include "ui/qt/calculator/line_edit_accessible.h"

#include <QLineEdit>

#include "ui/qt/calculator/line_edit.h"

namespace korvale::ui::qt {
namespace {

QAccessibleInterface* boxReading(const QString& /*className*/, QObject* object) {
  if (auto* edit = dynamic_cast<LineEdit*>(object)) return new LineEditAccessible(edit);
  return nullptr;
}

}  // namespace

LineEditAccessible::LineEditAccessible(QLineEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {}

void LineEditAccessible::installForEveryBox() {
  static const bool installed = (QAccessible::installFactory(boxReading), true);
  (void)installed;
}

QLineEdit* LineEditAccessible::edit() const {
  return static_cast<QLineEdit*>(widget());
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface) {
    return static_cast<QAccessibleEditableTextInterface*>(this);
  }
  return QAccessibleWidget::interface_cast(type);
}

QAccessible::State LineEditAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.editable = !edit()->isReadOnly();
  state.readOnly = edit()->isReadOnly();
  state.selectableText = true;
  state.passwordEdit = false;
  return state;
}

QString LineEditAccessible::text(QAccessible::Text kind) const {
  if (kind != QAccessible::Value) return QAccessibleWidget::text(kind);
  const QString whole = edit()->text();
  if (whole.size() <= kSpokenLength) return whole;
  return whole.left(kSpokenLength) + QStringLiteral("… (%1 characters)").arg(whole.size());
}

void LineEditAccessible::selection(int index, int* start, int* end) const {
  *start = *end = 0;
  if (index != 0 || !edit()->hasSelectedText()) return;
  *start = edit()->selectionStart();
  *end = *start + edit()->selectionLength();
}

int LineEditAccessible::selectionCount() const {
  return edit()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int start, int end) {
  setSelection(0, start, end);
}

void LineEditAccessible::removeSelection(int index) {
  if (index == 0) edit()->deselect();
}

void LineEditAccessible::setSelection(int index, int start, int end) {
  if (index == 0) edit()->setSelection(start, end - start);
}

int LineEditAccessible::cursorPosition() const {
  return edit()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position) {
  edit()->setCursorPosition(position);
}

QString LineEditAccessible::text(int start, int end) const {
  const int count = characterCount();
  if (end < 0 || end > count) end = count;
  if (start < 0 || start >= end) return {};
  return edit()->text().mid(start, qMin(end - start, kSpokenLength));
}

int LineEditAccessible::characterCount() const {
  return static_cast<int>(edit()->text().size());
}

QRect LineEditAccessible::characterRect(int /*offset*/) const {
  // Where one character stands is not told; the box's own rectangle is.
  return rect();
}

int LineEditAccessible::offsetAtPoint(const QPoint& point) const {
  return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int start, int /*end*/) {
  edit()->setCursorPosition(start);
}

QString LineEditAccessible::attributes(int offset, int* start, int* end) const {
  *start = *end = offset;
  return {};
}

void LineEditAccessible::deleteText(int start, int end) {
  replaceText(start, end, QString());
}

void LineEditAccessible::insertText(int offset, const QString& text) {
  replaceText(offset, offset, text);
}

void LineEditAccessible::replaceText(int start, int end, const QString& text) {
  edit()->setSelection(start, end - start);
  edit()->insert(text);
}

}  // namespace korvale::ui::qt
