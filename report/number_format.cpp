#include "report/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/floor2.h"
#include "report/units.h"

namespace korvale::report {
namespace {

void appendChars(std::string& out, const char* begin, const char* end) {
  const bool negativeZero =
      *begin == '-' && std::all_of(begin + 1, end, [](char c) { return c == '0' || c == '.'; });
  out.append(negativeZero ? begin + 1 : begin, end);
}

}  // namespace

void appendShortest(std::string& out, double x) {
  char buffer[32];
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
  appendChars(out, buffer, end);
}

void appendFixed(std::string& out, double x, int decimals) {
  char buffer[400];  // the largest double written out in full, and some decimals
  const char* end =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals).ptr;
  appendChars(out, buffer, end);
}

double roundedTo15Digits(double x) {
  char buffer[32];
  const char* end =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14).ptr;
  double rounded = x;
  std::from_chars(buffer, end, rounded);
  return rounded;
}

void appendFloored(std::string& out, double x, int decimals) {
  const double floored = decimals == 2
                             ? Floor2(x)
                             : std::floor(x * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
  appendFixed(out, floored, decimals);
}

double Units::ofFigure(double millimetres) const {
  return inch ? roundedTo15Digits(of(millimetres)) : millimetres;
}

}  // namespace korvale::report
