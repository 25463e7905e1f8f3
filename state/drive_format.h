#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "report/drive_inputs.h"

namespace korvale {

// The drive file's text: UTF-8, one "key=value" line each, LF after each, after a comment line.
//   profile=14M\nz1=28\nz2=112\ngiven=centre\nvalue=600\nincrement=1\nunits=mm\n
// then the load's texts that are not empty: power=2.2\nrpm=1450\n (keys power, torque, rpm,
// service_factor, width, rated_power).
// A value that a reader would otherwise take differently (blanks at either end, a line end in it,
// a leading quote) is written in quotes with C-like escapes: z1=" 20" and value="a\"b".
std::string formatDriveFile(const DriveInputs& inputs);

// Reads a drive file, written by the program or by hand. Keys may come in any order and in any
// case, blanks around the key, the "=" and the value do not count, a UTF-8 byte-order mark before
// the first line is passed over, a key left out keeps its default, lines that are empty or start
// with "#" are passed over, CR LF ends a line as LF does. Nothing, with the reason in `whyNot`,
// for a file that holds something else: a line without "=", a profile, "given" or units the
// program does not know, a text over kLongestDriveText characters, bytes that are not UTF-8. A key
// the program does not know leaves the rest read, and is told in `whyNot` all the same. The
// profile comes back by its catalogue name ("htd5m" -> "5M"), "given" and units in lower case.
//   "z1=30\n" -> the defaults with z1 "30"      "z1 30\n" -> nothing: line 1 has no "="
//   "\xef\xbb\xbfProfile = 5M\n" -> the defaults with profile "5M"
//   "z3=20\n" -> the defaults, and `whyNot` "line 1: unknown key "z3""
std::optional<DriveInputs> parseDriveFile(std::string_view text, std::string* whyNot = nullptr);

}  // namespace korvale
