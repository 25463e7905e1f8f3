#pragma once

namespace korvale::report {

inline constexpr double kMillimetresPerInch = 25.4;

// Lengths as the user asked for them: millimetres to 0.01, or inches to 0.001 in text.
struct Units {
  bool inch = false;
  double of(double millimetres) const {
    return inch ? millimetres / kMillimetresPerInch : millimetres;
  }
  // A catalogue figure (a pitch, an offset, a height: decimals of a few digits in the unit they
  // were published in) in these units: in inches rounded to 15 significant digits, which gives
  // back the inch profiles' own figures exactly: L's 9.525 mm pitch is 0.375 in, not
  // 0.37500000000000006.
  double ofFigure(double millimetres) const;
  const char* name() const { return inch ? "in" : "mm"; }
  int decimals() const { return inch ? 3 : 2; }
};

}  // namespace korvale::report
