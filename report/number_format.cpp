#include "report/number_format.h"

#include <algorithm>
#include <cmath>

#include "core/decimal_text.h"
#include "core/floor2.h"
#include "report/units.h"

namespace korvale::report {
namespace {

void appendChars(std::string& out, const std::string& text) {
  const bool negativeZero = text[0] == '-' && std::all_of(text.begin() + 1, text.end(), [](char c) {
                              return c == '0' || c == '.';
                            });
  out.append(text, negativeZero ? 1 : 0, std::string::npos);
}

}  // namespace

void appendShortest(std::string& out, double x) {
  appendChars(out, ShortestText(x));
}

void appendFixed(std::string& out, double x, int decimals) {
  appendChars(out, FixedText(x, decimals));
}

double roundedTo15Digits(double x) {
  const std::string text = ScientificText(x, 14);
  double rounded = x;
  bool tooLarge = false;
  ReadNumber(text, rounded, tooLarge);
  return rounded;
}

void appendFloored(std::string& out, double x, int decimals) {
  const double floored = decimals == 2
                             ? Floor2(x)
                             : std::floor(x * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
  appendFixed(out, floored, decimals);
}

std::string shortestText(double x) {
  std::string text;
  appendShortest(text, x);
  return text;
}

std::string fixedText(double x, int decimals) {
  std::string text;
  appendFixed(text, x, decimals);
  return text;
}

std::string flooredText(double x, int decimals) {
  std::string text;
  appendFloored(text, x, decimals);
  return text;
}

std::string trimmedText(double x, int decimals) {
  std::string text = fixedText(x, decimals);
  if (text.find('.') == std::string::npos) return text;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string readableText(double x, int decimals) {
  const double magnitude = std::fabs(x);
  double unit = std::pow(10.0, -decimals);
  if (magnitude == 0 || magnitude >= unit) return trimmedText(x, decimals);
  while (magnitude < unit) {
    unit /= 10;
    ++decimals;
  }
  return trimmedText(x, decimals + 3);
}

double Units::ofFigure(double millimetres) const {
  return inch ? roundedTo15Digits(of(millimetres)) : millimetres;
}

}  // namespace korvale::report
