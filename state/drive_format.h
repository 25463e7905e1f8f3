#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "state/drive_inputs.h"

namespace korvale {

// The drive file's text: UTF-8, one "key=value" line each, LF after each, after a comment line.
//   profile=14M\nz1=28\nz2=112\ngiven=centre\nvalue=600\nincrement=1\nunits=mm\n
std::string formatDriveFile(const DriveInputs& inputs);

// Reads a drive file. Keys may come in any order, a key left out keeps its default, lines that
// are empty or start with "#" are passed over, a key the program does not know is ignored (a
// newer version's), CR LF ends a line as LF does. Nothing, with the reason in `whyNot`, for a
// file that holds something else: a line without "=", a profile, "given" or units the program
// does not know, a text over 1,000 bytes, bytes that are not UTF-8. The profile comes back by its
// catalogue name ("htd5m" -> "5M").
//   "z1=30\n" -> the defaults with z1 "30"      "z1 30\n" -> nothing: line 1 has no "="
std::optional<DriveInputs> parseDriveFile(std::string_view text, std::string* whyNot = nullptr);

}  // namespace korvale
