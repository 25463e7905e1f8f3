#include "ui/qt/application.h"

#include <new>

namespace korvale::ui::qt {

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    if (outOfMemory_) outOfMemory_();
    return true;
  }
}

}  // namespace korvale::ui::qt
