#pragma once

#include <string>
#include <string_view>

#include "calc/calc_arguments.h"
#include "core/belt_layout.h"
#include "report/output_stream.h"
#include "report/units.h"

// korvale-calc's reports, each written to a buffered stream in the format asked for.
namespace korvale::calc {

// Pad a text on the left to a column's width, for the text tables.
void appendRightAligned(std::string& out, std::string_view text, std::size_t width);

// D and Da of each tooth count, as the calculator window shows them (its divisor, floored to
// hundredths); in inches floored to thousandths.
void WritePulleyReport(const CalcArguments& arguments, report::BufferedOutput& out);

// The drive's rows, or the reason it cannot be built on err; returns the exit code (0 or 1).
int WriteDriveReport(const CalcArguments& arguments, report::BufferedOutput& out,
                     report::OutputStream& err);

// A profile's stock widths with their mass, width factor and sources.
void WriteWidthsReport(const CalcArguments& arguments, report::BufferedOutput& out);

// A layout read from its file: its belt's path, the fits of its movable pulley, its warnings;
// returns the exit code (0, 1 for a layout that cannot be a belt, 2 for a file that cannot be
// read).
int WriteLayoutReport(const CalcArguments& arguments, report::BufferedOutput& out,
                      report::OutputStream& err);
// A solved layout in a format: text, records or SVG.
void WriteLayout(report::Format format, const Layout& layout, const LayoutSolution& solution,
                 report::Units units, report::BufferedOutput& out);

// The catalogue with the source of each offset.
void WriteProfilesReport(const CalcArguments& arguments, report::BufferedOutput& out);

}  // namespace korvale::calc
