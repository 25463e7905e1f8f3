#pragma once

class QWidget;

namespace korvale::ui::qt {

// Turns SIGTERM, SIGHUP and SIGINT (a desktop logout, a closed terminal, Ctrl+C) into a close
// request for `window`, so that its inputs are saved and the program ends normally. The signal
// handler only writes a byte to a pipe; the close runs later, on the event loop. Call once.
void closeOnTerminationSignals(QWidget& window);

}  // namespace korvale::ui::qt
