#include "core/floor2.h"

#include <cmath>

namespace korvale {

double Floor2(double x) {
  const double hundredths = x * 100.0;
  if (std::isfinite(hundredths) || !std::isfinite(x)) return std::floor(hundredths) / 100.0;

  // x × 100 passed the double range only in its exponent. Such an x is far above 2^53 and so a
  // whole number, as is x × 100: the floor changes nothing. The two roundings are done on the
  // mantissa, which scaling by a power of two leaves exact.
  int exponent = 0;
  const double mantissa = std::frexp(x, &exponent);
  return std::ldexp(mantissa * 100.0 / 100.0, exponent);
}

}  // namespace korvale
