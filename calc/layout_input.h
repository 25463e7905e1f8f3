#pragma once

#include <string>
#include <string_view>

namespace korvale::calc {

// The most a layout file may hold: far more than ten thousand pulleys' lines take.
inline constexpr std::size_t kLongestLayoutFile = 16 << 20;

// The text of the layout file named on the command line ("-": standard input), or false with the
// reason: a path that is no regular file (a folder, a device, a FIFO, which would never end or
// never begin), one that cannot be opened or read, one longer than kLongestLayoutFile.
bool ReadLayoutInput(std::string_view path, std::string& text, std::string& whyNot);

}  // namespace korvale::calc
