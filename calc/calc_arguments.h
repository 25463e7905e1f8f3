#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/belt_drive.h"
#include "core/belt_load.h"
#include "core/belt_profiles.h"
#include "report/input_rules.h"
#include "report/record_writer.h"

namespace korvale::calc {

enum class Command { Pulley, Drive, Profiles, Widths, Layout, Help, Version };

// A first and last tooth count, both included: "10-60" -> {10, 60}, "12" -> {12, 12}.
struct TeethRange {
  long first;
  long last;
};

// One command line, checked. Lengths are in millimetres whatever the units of the output.
struct CalcArguments {
  Command command = Command::Help;
  report::Format format = report::Format::Text;
  bool inch = false;
  const BeltProfile* profile = nullptr;  // pulley
  std::vector<TeethRange> teeth;
  DriveRequest drive{};  // drive
  std::optional<LoadRequest> load;
  std::string layoutPath;              // layout: the file, "-" for standard input
  std::optional<double> layoutBelt;    // teeth to fit to
  std::optional<double> layoutLength;  // or a pitch length, mm
};

// The arguments after the program's name. Throws report::InputError.
//   {"drive", "14m", "28", "112", "--centre", "600"} -> Drive, 14M, 28, 112, Centre 600
//   {"pulley", "5M", "2.5"} -> InputError: teeth "2.5": expected a whole number from 1 to ...
CalcArguments ParseCalcArguments(const std::vector<std::string_view>& args);

}  // namespace korvale::calc
