#include "ui/save_at_exit.h"

#include <cstdio>
#include <cstdlib>

namespace korvale::ui {
namespace {

Form1* formToSave = nullptr;

extern "C" void saveBeforeExit() {
  if (formToSave == nullptr) return;
  const std::string failure = formToSave->saveAtExit();
  if (!failure.empty()) std::fprintf(stderr, "korvale: %s\n", failure.c_str());
}

}  // namespace

SaveAtExit::SaveAtExit(Form1& form) {
  static const bool registered = std::atexit(saveBeforeExit) == 0;
  (void)registered;
  formToSave = &form;
}

SaveAtExit::~SaveAtExit() {
  formToSave = nullptr;
}

}  // namespace korvale::ui
