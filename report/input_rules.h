#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/belt_drive.h"
#include "core/belt_load.h"
#include "core/belt_profiles.h"
#include "report/drive_inputs.h"
#include "report/record_writer.h"

// The rules by which texts become a drive, the same for korvale-calc's command line and the drive
// window's boxes, with the same one-line reasons for what they refuse.
namespace korvale::report {

// Texts that cannot be read, in one line that names the field and what is accepted.
struct InputError {
  std::string message;
};

// A text as a refusal quotes it: "15M" with its quotes.
std::string Quoted(std::string_view text);

// The number a whole text is (digits, a point, an exponent: nothing before or after it), or
// nothing, also for a number beyond the double range: "2.5" -> 2.5; "", "2.5 mm", "1e400" ->
// nothing.
std::optional<double> NumberOf(std::string_view text);

// Up to a thousand million teeth: every product of teeth and pitch is then exact in a double.
inline constexpr long kMostTeeth = 1000000000;
// A thousand kilometres: far beyond any belt, and far enough below the double range that no
// length computed from it overflows.
inline constexpr double kLongestLength = 1e12;

// A whole number from 1 to kMostTeeth, written with digits alone: "28" -> 28; "-3", "2.5", "" and
// "1000000001" -> nothing.
std::optional<long> WholeNumber(std::string_view text);

// The teeth (or a count of them) a field gives, or InputError naming the field `what`:
//   ("Z1", "") -> Z1 "": expected a whole number from 1 to 1000000000
long TeethCount(std::string_view what, std::string_view text);

// A length greater than 0 and up to kLongestLength millimetres, in millimetres, given in inches
// or millimetres; InputError naming `option`: ("--centre", "23.6", true) -> 599.44.
double PositiveLength(std::string_view option, std::string_view text, bool inch);

// The catalogue profile a user means ("htd5m"), or InputError listing the known ones.
const BeltProfile& ProfileNamed(std::string_view name);

// "mm" -> false, "in" -> true; InputError otherwise.
bool InchesNamed(std::string_view units);

// "text", "csv", "tsv", "json", "svg"; InputError otherwise.
Format FormatNamed(std::string_view name);

// A drive read from texts: what to solve, in millimetres, and the units it was given in.
struct DriveOrder {
  DriveRequest request;
  bool inch = false;
  std::optional<LoadRequest> load;  // korvale-calc's; the window reads its load apart
};

// The drive a window's boxes hold, checked in the order korvale-calc checks its arguments:
// profile, Z1, Z2, the value of what is given (named as the option that gives it: "--centre",
// "--belt", "--length"), the increment (for a given centre only). Throws InputError.
//   {"14M", "28", "112", "centre", "600", "1", "mm"} -> 14M 28/112, centre 600 mm
DriveOrder ReadDriveInputs(const DriveInputs& inputs);

// What a value given in these words means: "centre" -> DriveGiven::Centre.
DriveGiven GivenNamed(std::string_view given);

}  // namespace korvale::report
