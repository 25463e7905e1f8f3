#pragma once

#include <QApplication>
#include <functional>

namespace korvale::ui::qt {

// The calculator's QApplication. An allocation that fails while an event is handled (a paste
// larger than the memory left, say) unwinds to the place the event was delivered and is told to
// `onOutOfMemory`, instead of ending the program and losing the inputs: the failed edit simply
// does not happen.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv) : QApplication(argc, argv) {}

  void onOutOfMemory(std::function<void()> report) { outOfMemory_ = std::move(report); }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  std::function<void()> outOfMemory_;
};

}  // namespace korvale::ui::qt
