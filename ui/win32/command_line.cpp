#include "ui/win32/command_line.h"

#include "text_encoding/utf16.h"

namespace korvale::ui::win32 {

std::vector<std::string> commandLineWords(const wchar_t* arguments) {
  std::vector<std::string> words;
  std::wstring word;
  bool inWord = false;
  bool quoted = false;
  for (const wchar_t* c = arguments; c != nullptr && *c != L'\0'; ++c) {
    if (*c == L'\\' && c[1] == L'"') {
      word += L'"';
      inWord = true;
      ++c;
    } else if (*c == L'"') {
      quoted = !quoted;
      inWord = true;
    } else if ((*c == L' ' || *c == L'\t') && !quoted) {
      if (inWord) words.push_back(platform::fromWide(word));
      word.clear();
      inWord = false;
    } else {
      word += *c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(platform::fromWide(word));
  return words;
}

}  // namespace korvale::ui::win32
