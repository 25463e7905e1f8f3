#include "ui/qt/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>

namespace korvale::ui::qt {
namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The pipe's ends: the handler writes to [1], the event loop reads [0].
int signalPipe[2] = {-1, -1};

// Signals taken so far. Another thread may take the next one while this handler still runs, so
// the count, not the disposition alone, decides that a second one ends the program.
std::atomic<int> signalsTaken{0};

extern "C" void onTerminationSignal(int signal) {
  const int savedErrno = errno;
  for (const int each : kTerminationSignals) std::signal(each, SIG_DFL);
  if (signalsTaken.fetch_add(1) > 0) std::raise(signal);
  const char byte = 1;
  // A full pipe already holds an end request; nothing is lost by dropping this one.
  (void)!::write(signalPipe[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

void endOnTerminationSignals(QObject& owner, std::function<std::string()> save) {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &owner);
  QObject::connect(notifier, &QSocketNotifier::activated, &owner, [notifier, save] {
    notifier->setEnabled(false);
    char bytes[64];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    const std::string failure = save();
    if (!failure.empty()) std::fputs(("korvale: " + failure + "\n").c_str(), stderr);
    QCoreApplication::exit(failure.empty() ? 0 : 1);
  });
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  // While one is being handled the others wait, and then find their default action.
  sigemptyset(&action.sa_mask);
  for (const int signal : kTerminationSignals) sigaddset(&action.sa_mask, signal);
  action.sa_flags = SA_RESTART;
  for (const int signal : kTerminationSignals) ::sigaction(signal, &action, nullptr);
}

}  // namespace korvale::ui::qt
