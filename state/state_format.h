#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/byte_source.h"
#include "state/saved_inputs.h"

namespace korvale {

// The state file's bytes for two texts already in the file's code page, as the pieces they are
// made of, the texts where they stand: each text in double quotes on a line of its own, CR LF
// after each. ("20", "5M") -> "\"20\"\r\n\"5M\"\r\n". A double quote inside a text is written as
// it is, without escape.
std::vector<std::string_view> stateFilePieces(std::string_view teethBytes,
                                              std::string_view pitchBytes);

// Reads the first two fields of a state file; the rest of the file is never read.
//   "\"20\"\r\n\"5M\"\r\n" -> ("20", "5M")     "20,5M" -> ("20", "5M")    "\"2,5\"\r\n\"5M\"" ->
//   ("2,5", "5M")     "" -> nothing     "\"20\"\r\n" -> nothing (either both texts or neither)
// A field starting with a double quote runs to the next double quote (to the end of the file if
// none follows) and whatever stands after it up to the next comma or line end is passed over; any
// other field runs to the next comma or line end, and only its blanks before a line end are
// dropped ("20 ,5M \r\n" -> ("20 ", "5M")). Spaces, tabs and blank lines before a field are
// skipped, and so is a UTF-8 byte-order mark at the very start. CR LF, CR and LF all end a line.
// The texts come back in the file's own bytes, except from a file in UTF-16 (either byte order,
// marked by its byte-order mark FF FE or FE FF), whose texts come back in UTF-8 and `unicode`, if
// given, is set: FF FE 32 00 30 00 2C 00 35 00 4D 00 -> ("20", "5M").
std::optional<SavedInputs> parseStateFile(ByteSource& source, bool* unicode = nullptr);

// The same over bytes in memory.
std::optional<SavedInputs> parseStateFile(std::string_view bytes);

}  // namespace korvale
