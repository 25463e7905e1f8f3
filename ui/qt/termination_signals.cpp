#include "ui/qt/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>

namespace korvale::ui::qt {
namespace {

// The pipe's ends: the handler writes to [1], the event loop reads [0].
int signalPipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already holds a close request; nothing is lost by dropping this one.
  (void)!::write(signalPipe[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

void closeOnTerminationSignals(QWidget& window) {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
    char bytes[64];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    window.close();
  });
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

}  // namespace korvale::ui::qt
