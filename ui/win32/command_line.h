#pragma once

#include <string>
#include <vector>

namespace korvale::ui::win32 {

// The words of the command line after the program's name, split as Windows programs split them
// (blanks between words, double quotes around blanks, \" a quote), without loading shell32 for
// CommandLineToArgvW: L"/drive 14M 28 \"112\"" -> {"/drive", "14M", "28", "112"}.
std::vector<std::string> commandLineWords(const wchar_t* arguments);

}  // namespace korvale::ui::win32
