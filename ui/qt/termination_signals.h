#pragma once

#include <functional>
#include <string>

class QObject;

namespace korvale::ui::qt {

// Turns SIGTERM, SIGHUP and SIGINT (a desktop logout, a closed terminal, Ctrl+C) into the end of
// the program: a signal is no person at the window, so `save` is tried without any box (it
// returns the report of a failure, empty when saved), a failure goes to standard error, and the
// event loop ends with status 0, or 1 when the save failed, even from within a modal box. The
// handler only writes a byte to a pipe, which the event loop of `owner` reads, and gives the
// signals back their default action, so that a second one ends the program at once. Call once.
void endOnTerminationSignals(QObject& owner, std::function<std::string()> save);

}  // namespace korvale::ui::qt
