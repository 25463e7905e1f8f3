#pragma once

#include <string>
#include <string_view>

// Conversions between the program's UTF-8 and Windows' UTF-16 and ANSI code page.
namespace korvale::platform {

std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view utf16);

// Through UTF-16, with the code page's own replacement character for what it cannot hold.
std::string toCodePage(std::string_view utf8, unsigned codePage);
std::string fromCodePage(std::string_view bytes, unsigned codePage);

}  // namespace korvale::platform
