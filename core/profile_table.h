#pragma once

#include <array>

namespace korvale {

// Reference dimensions of the belt profiles, in millimetres, five by five. Row 0 stands for "no
// entry selected"; rows 1 to 4 are the pitch list's "3M", "5M", "8M", "14M" in list order.
// Columns: 0 pitch, 1 pitch-line offset, 2 and 3 further reference dimensions; column 4 is zero.
// Only column 1 is read: the tip diameter is the pitch diameter less twice the offset. The pitch
// itself always comes from the pitch text, never from column 0.
using ProfileTableType = std::array<std::array<double, 5>, 5>;

inline constexpr ProfileTableType ProfileTable = {{
    {0, 0, 0, 0, 0},
    {3, 0.38, 1.17, 2.4, 0},
    {5, 0.57, 2.06, 3.8, 0},
    {8, 0.685, 3.4, 6, 0},
    {14, 1.4, 6, 10, 0},
}};

inline constexpr int kPitchLineOffsetColumn = 1;

}  // namespace korvale
