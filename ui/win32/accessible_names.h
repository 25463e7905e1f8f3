#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace korvale::ui::win32 {

// Gives controls the names assistive technology reads, without touching the controls themselves
// (so the z-order that makes the tab order and decides which control is drawn over which stays
// as it is). The window test replaces it with a recorder.
class AccessibleNames {
 public:
  virtual ~AccessibleNames() = default;
  // From now on a screen reader calls `control` by `name`.
  virtual void name(HWND control, const std::wstring& name) = 0;
  // Forgets the name again, before the control is destroyed.
  virtual void forget(HWND control) = 0;
};

// Through the system's Dynamic Annotation service (IAccPropServices in oleacc.dll). It takes COM
// for this thread for as long as it lives; where COM or the service cannot be had, controls stay
// unnamed and the program runs on.
std::unique_ptr<AccessibleNames> dynamicAnnotationNames();

}  // namespace korvale::ui::win32
