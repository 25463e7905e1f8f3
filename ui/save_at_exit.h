#pragma once

#include "ui/calculator/form1.h"
#include "ui/drive/drive_form.h"

namespace korvale::ui {

// While it lives, an end of the process through exit() saves the form's inputs first: Qt, for
// one, calls exit(1) when the connection to the display breaks, and a library may end the
// program the same way. What fails then goes to standard error, as no window is left to show it.
class SaveAtExit {
 public:
  explicit SaveAtExit(Form1& form);
  explicit SaveAtExit(DriveForm& form);
  ~SaveAtExit();
  SaveAtExit(const SaveAtExit&) = delete;
  SaveAtExit& operator=(const SaveAtExit&) = delete;
};

}  // namespace korvale::ui
