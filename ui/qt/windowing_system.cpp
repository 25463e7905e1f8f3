#include "ui/qt/windowing_system.h"

#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace korvale::ui::qt {
namespace {

QtMessageHandler previousHandler = nullptr;
// Qt's messages while the display is being opened, held until it is known whether one opened.
std::vector<std::pair<QtMsgType, QString>> heldMessages;
// Standard error as it was; meanwhile it goes to a file, since the windowing system's own
// libraries write their complaints there themselves.
int realStandardError = -1;
std::FILE* heldOutput = nullptr;

void holdOrEnd(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    if (realStandardError >= 0) ::dup2(realStandardError, STDERR_FILENO);
    std::fputs("korvale: no display could be opened\n", stderr);
    ::_exit(1);
  }
  heldMessages.emplace_back(type, message);
}

}  // namespace

void preferX11WhereNoneIsChosen(bool platformChosenOnTheCommandLine) {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  const char* display = std::getenv("DISPLAY");
  if ((chosen == nullptr || *chosen == '\0') && !platformChosenOnTheCommandLine &&
      display != nullptr && *display != '\0') {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
}

EndIfNoDisplay::EndIfNoDisplay() {
  previousHandler = qInstallMessageHandler(holdOrEnd);
  std::fflush(stderr);
  heldOutput = std::tmpfile();
  realStandardError = heldOutput != nullptr ? ::dup(STDERR_FILENO) : -1;
  if (realStandardError >= 0) ::dup2(::fileno(heldOutput), STDERR_FILENO);
}

EndIfNoDisplay::~EndIfNoDisplay() {
  std::fflush(stderr);
  if (realStandardError >= 0) {
    ::dup2(realStandardError, STDERR_FILENO);
    ::close(realStandardError);
    realStandardError = -1;
  }
  if (heldOutput != nullptr) {
    std::rewind(heldOutput);
    char bytes[4096];
    for (std::size_t got; (got = std::fread(bytes, 1, sizeof bytes, heldOutput)) > 0;) {
      std::fwrite(bytes, 1, got, stderr);
    }
    std::fclose(heldOutput);
    heldOutput = nullptr;
  }
  qInstallMessageHandler(previousHandler);
  for (const auto& [type, message] : heldMessages) {
    qt_message_output(type, QMessageLogContext(), message);
  }
  heldMessages.clear();
}

}  // namespace korvale::ui::qt
