#pragma once

#include <charconv>
#include <cstdlib>
#include <string>

namespace korvale::testing {

// The double nearest to a decimal text that std::from_chars reads whole, by a reading known to
// round correctly: the standard library's on Linux; on Windows MinGW's own strtod (David Gay's),
// since the standard library's from_chars there reads some numbers a unit off in the last place
// ("33172074903246E21" as 3.3172074903245998e+34).
inline double correctlyRounded(const std::string& text) {
#ifdef _WIN32
  return __mingw_strtod(text.c_str(), nullptr);
#else
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
#endif
}

}  // namespace korvale::testing
