#pragma once

#include "calc/calc_arguments.h"
#include "calc/output_stream.h"

#include <string>
#include <vector>

namespace korvale::calc {

// Lengths as the user asked for them: millimetres to 0.01, or inches to 0.001 in text.
struct Units {
  bool inch;
  double of(double millimetres) const { return inch ? millimetres / 25.4 : millimetres; }
  // A catalogue figure (a pitch, an offset, a height: decimals of a few digits in the unit they
  // were published in) in these units: in inches rounded to 15 significant digits, which gives
  // back the inch profiles' own figures exactly: L's 9.525 mm pitch is 0.375 in, not
  // 0.37500000000000006.
  double ofFigure(double millimetres) const;
  const char* name() const { return inch ? "in" : "mm"; }
  int decimals() const { return inch ? 3 : 2; }
};

// Pad a text on the left to a column's width, for the text tables.
void appendRightAligned(std::string& out, std::string_view text, std::size_t width);

// D and Da of each tooth count, as the calculator window shows them (its divisor, floored to
// hundredths); in inches floored to thousandths.
void WritePulleyReport(const CalcArguments& arguments, BufferedOutput& out);

// The drive as the text output shows it, each figure rounded as it prints it.
struct DriveTextRow {
  std::string kind, centre, change, length, beltTeeth, wrap1, wrap2, mesh1, mesh2;
};
// A warning of the drive and the rows it concerns ("shorter, longer"; empty when every row).
struct DriveNote {
  DriveWarning warning;
  std::string rows;
};
struct DriveText {
  std::string unit;                              // "mm" or "in"
  std::string ratio;                             // "4/1 (4)"
  std::string heading;                           // "14M drive: 28 and 112 teeth, ratio 4/1 (4)"
  std::string pulleys[2];                        // "pulley 1: 28 teeth, D 124.77 mm, Da 121.97 mm"
  std::string pitchDiameter[2], tipDiameter[2];  // floored: "124.77"
  bool tipMarked = false;                        // Da rests on an offset no source states outright
  std::vector<DriveTextRow> rows;
  std::vector<std::string> warnings;  // "warning: few_teeth_in_mesh (shorter): fewer than 6 ..."
  std::vector<DriveNote> notes;       // the same warnings, for words in another language
};
DriveText DriveTextOf(const CalcArguments& arguments, const DriveSolution& solution);

// Why the drive cannot be built, with the limit: "centre distance 100.00 mm is too small ...".
std::string DriveFailureText(const CalcArguments& arguments, const DriveFailure& failure);

// The drive's rows, or the reason it cannot be built on err; returns the exit code (0 or 1).
int WriteDriveReport(const CalcArguments& arguments, BufferedOutput& out, OutputStream& err);

// The catalogue with the source of each offset.
void WriteProfilesReport(const CalcArguments& arguments, BufferedOutput& out);

}  // namespace korvale::calc
