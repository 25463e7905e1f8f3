#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvale::ui::win32 {

// The words of the command line after the program's name, split as Windows programs split them
// (blanks between words, double quotes around blanks, \" a quote, backslashes doubled before a
// quote), without loading shell32 for CommandLineToArgvW:
// L"/drive 14M 28 \"112\"" -> {"/drive", "14M", "28", "112"}.
std::vector<std::string> commandLineWords(const wchar_t* arguments);

// One word for a command line, quoted so that it comes back whole, whatever it holds:
// L"2 0\"" -> L"\"2 0\\\"\"".
std::wstring quotedWord(std::wstring_view word);

}  // namespace korvale::ui::win32
