#pragma once

#include <stdexcept>
#include <string_view>
#include <vector>

#include "calc/record_writer.h"
#include "core/belt_drive.h"
#include "core/belt_profiles.h"

namespace korvale::calc {

enum class Command { Pulley, Drive, Profiles, Help, Version };

// A first and last tooth count, both included: "10-60" -> {10, 60}, "12" -> {12, 12}.
struct TeethRange {
  long first;
  long last;
};

// One command line, checked. Lengths are in millimetres whatever the units of the output.
struct CalcArguments {
  Command command = Command::Help;
  Format format = Format::Text;
  bool inch = false;
  const BeltProfile* profile = nullptr;
  std::vector<TeethRange> teeth;  // pulley
  long z1 = 0;                    // drive
  long z2 = 0;
  DriveGiven given = DriveGiven::Centre;
  double value = 0;
  long increment = 1;
};

// A command line that cannot be run, in one line that names the argument and what is accepted.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The arguments after the program's name. Throws UsageError.
//   {"drive", "14m", "28", "112", "--centre", "600"} -> Drive, 14M, 28, 112, Centre 600
//   {"pulley", "5M", "2.5"} -> UsageError: teeth "2.5": expected a whole number from 1 to ...
CalcArguments ParseCalcArguments(const std::vector<std::string_view>& args);

}  // namespace korvale::calc
