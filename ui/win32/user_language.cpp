#include "ui/win32/user_language.h"

#include <windows.h>

#include "text_encoding/utf16.h"

namespace korvale::ui::win32 {

Language userLanguage() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) name[0] = L'\0';
  return languageForDesktop(platform::fromWide(name));
}

}  // namespace korvale::ui::win32
