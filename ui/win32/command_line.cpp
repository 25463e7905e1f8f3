#include "ui/win32/command_line.h"

#include "text_encoding/utf16.h"

namespace korvale::ui::win32 {

std::vector<std::string> commandLineWords(const wchar_t* arguments) {
  std::vector<std::string> words;
  std::wstring word;
  bool inWord = false;
  bool quoted = false;
  for (const wchar_t* c = arguments; c != nullptr && *c != L'\0'; ++c) {
    std::size_t backslashes = 0;
    while (c[backslashes] == L'\\') ++backslashes;
    if (backslashes > 0) {
      // Before a quote, each pair stands for one backslash and an odd one for the quote itself;
      // anywhere else a backslash is itself.
      const bool beforeQuote = c[backslashes] == L'"';
      const bool literalQuote = beforeQuote && backslashes % 2 == 1;
      word.append(beforeQuote ? backslashes / 2 : backslashes, L'\\');
      if (literalQuote) word += L'"';
      c += literalQuote ? backslashes : backslashes - 1;  // a quote that opens or closes comes next
      inWord = true;
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

std::wstring quotedWord(std::wstring_view word) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : word) {
    if (c == L'"') quoted.append(backslashes + 1, L'\\');
    backslashes = c == L'\\' ? backslashes + 1 : 0;
    quoted += c;
  }
  quoted.append(backslashes, L'\\');  // so that the closing quote stays one
  return quoted + L'"';
}

}  // namespace korvale::ui::win32
