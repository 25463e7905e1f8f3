#pragma once

#include <QObject>

namespace korvale::ui::qt {

// Installed on the pitch field's line edit: swallows Enter, with which an editable QComboBox
// would select the entry equal to the typed text. A typed text never selects an entry.
class SwallowEnterKey : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace korvale::ui::qt
