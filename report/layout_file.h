#pragma once

#include <string_view>

#include "core/belt_layout.h"
#include "report/input_rules.h"

// A layout as a text file: one item a line, "#" to the line's end a comment, blank lines passed
// over.
//   profile 2GT
//   pulley motor     0      0   20          # name x y teeth [in|back] [idler]
//   pulley idler     100    8   d=12 back   # a plain roller of 12 mm on the belt's back
//   pulley carriage  201.3  0   20
//   move motor -1 0                         # the motor slides along (-1, 0)
namespace korvale::report {

// The most pulleys a layout takes, and the most teeth a pulley of one has: beyond any belt's.
inline constexpr std::size_t kMostLayoutPulleys = 10000;
inline constexpr long kMostLayoutTeeth = 10000;

// The layout a text gives, its lengths (centres, roller diameters) in inches or millimetres;
// InputError naming the line and what it lacks otherwise ("line 3: pulley idler: expected teeth
// from 1 to 10000 or d=DIAMETER, not "d=-4"").
Layout ReadLayoutFile(std::string_view text, bool inch);

}  // namespace korvale::report
