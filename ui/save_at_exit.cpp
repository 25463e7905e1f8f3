#include "ui/save_at_exit.h"

#include <cstdio>
#include <cstdlib>

namespace korvale::ui {
namespace {

// The one form of the process whose inputs an exit() saves: it returns the report of a failure.
std::string (*saveForm)(void*) = nullptr;
void* formToSave = nullptr;

extern "C" void saveBeforeExit() {
  if (formToSave == nullptr) return;
  const std::string failure = saveForm(formToSave);
  if (!failure.empty()) std::fprintf(stderr, "korvale: %s\n", failure.c_str());
}

template <class Form>
void saveOnExit(Form& form) {
  static const bool registered = std::atexit(saveBeforeExit) == 0;
  (void)registered;
  saveForm = [](void* saved) { return static_cast<Form*>(saved)->saveAtExit(); };
  formToSave = &form;
}

}  // namespace

SaveAtExit::SaveAtExit(Form1& form) {
  saveOnExit(form);
}

SaveAtExit::SaveAtExit(DriveForm& form) {
  saveOnExit(form);
}

SaveAtExit::~SaveAtExit() {
  formToSave = nullptr;
}

}  // namespace korvale::ui
