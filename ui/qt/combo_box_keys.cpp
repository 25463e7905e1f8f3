#include "ui/qt/combo_box_keys.h"

#include <QKeyEvent>

namespace korvale::ui::qt {

bool SwallowEnterKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace korvale::ui::qt
