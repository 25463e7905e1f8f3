#pragma once

#include "calc/calc_arguments.h"
#include "calc/output_stream.h"

namespace korvale::calc {

// Lengths as the user asked for them: millimetres to 0.01, or inches to 0.001 in text.
struct Units {
  bool inch;
  double of(double millimetres) const { return inch ? millimetres / 25.4 : millimetres; }
  const char* name() const { return inch ? "in" : "mm"; }
  int decimals() const { return inch ? 3 : 2; }
};

// Pad a text on the left to a column's width, for the text tables.
void appendRightAligned(std::string& out, std::string_view text, std::size_t width);

// D and Da of each tooth count, as the calculator window shows them (its divisor, floored to
// hundredths); in inches floored to thousandths.
void WritePulleyReport(const CalcArguments& arguments, BufferedOutput& out);

// The drive's rows, or the reason it cannot be built on err; returns the exit code (0 or 1).
int WriteDriveReport(const CalcArguments& arguments, BufferedOutput& out, OutputStream& err);

// The catalogue with the source of each offset.
void WriteProfilesReport(const CalcArguments& arguments, BufferedOutput& out);

}  // namespace korvale::calc
