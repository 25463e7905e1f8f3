#include "ui/language.h"

namespace korvale::ui {

Language languageForDesktop(std::string_view tag) {
  const std::string_view language = tag.substr(0, tag.find_first_of("-_.@"));
  const bool untold = language.empty() || language == "C" || language == "POSIX";
  return untold || language == "zh" ? Language::Chinese : Language::English;
}

}  // namespace korvale::ui
