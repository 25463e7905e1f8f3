#include "core/pulley_calculation.h"

#include <cmath>
#include <utility>

#include "core/floor2.h"
#include "core/number_text.h"
#include "core/profile_table.h"
#include "core/runtime_error.h"
#include "core/text_value.h"

namespace korvale {
namespace {

// teeth × pitch / divisor with the product rounded to double precision but free to pass the
// double range: "1E308" teeth at pitch 5 is fine, because the quotient fits.
double pitchCircleDiameter(double teeth, double pitch) {
  const double product = teeth * pitch;
  if (std::isfinite(product)) return product / kPitchCircleDivisor;

  // The exponent overflowed. Doing both roundings on the mantissas and restoring the binary
  // exponent afterwards gives the same bits the unbounded arithmetic would.
  int teethExponent = 0;
  int pitchExponent = 0;
  const double teethMantissa = std::frexp(teeth, &teethExponent);
  const double pitchMantissa = std::frexp(pitch, &pitchExponent);
  const double quotient = teethMantissa * pitchMantissa / kPitchCircleDivisor;
  const double scaled = std::ldexp(quotient, teethExponent + pitchExponent);
  if (!std::isfinite(scaled)) throw overflowError();
  return scaled;
}

std::size_t profileRow(int selectedIndex) {
  return selectedIndex >= 0 && selectedIndex <= 3 ? static_cast<std::size_t>(selectedIndex) + 1 : 0;
}

}  // namespace

PulleyDiameters WindowDiameters(double teeth, double pitch, double pitchLineOffset) {
  const double pitchCircle = pitchCircleDiameter(teeth, pitch);
  return {pitchCircle, pitchCircle - 2 * pitchLineOffset};
}

DiameterTexts ComputeDiameters(std::string_view teethText, std::string_view pitchText,
                               int selectedIndex, double& PitchDia) {
  const double teeth = TextValue(teethText);
  const double pitch = TextValue(pitchText);
  const PulleyDiameters diameters = WindowDiameters(
      teeth, pitch, ProfileTable[profileRow(selectedIndex)][kPitchLineOffsetColumn]);
  PitchDia = diameters.tipCircle;
  return {NumberText(Floor2(diameters.pitchCircle)), NumberText(Floor2(diameters.tipCircle))};
}

}  // namespace korvale
