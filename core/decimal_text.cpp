#include "core/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace korvale {
namespace {

// Any halfway point between two adjacent doubles has at most 767 significant decimal digits, so
// 800 kept digits, and one non-zero digit standing for whatever non-zero digits were dropped,
// round exactly as the whole number would.
constexpr std::size_t kKeptDigits = 800;

// The exact decimal value of a finite, non-zero |x|: 0.d1d2d3... × 10^exponent, digits without
// trailing zeros.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// A whole number in base 10^9, least significant limb first.
class BigNumber {
 public:
  explicit BigNumber(std::uint64_t value) {
    while (value > 0) {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    }
  }
  void multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      carry += static_cast<std::uint64_t>(limb) * factor;
      limb = static_cast<std::uint32_t>(carry % kBase);
      carry /= kBase;
    }
    while (carry > 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }
  // Multiplies by base^power in the largest steps a limb's product allows.
  void multiplyByPower(std::uint32_t base, int power, std::uint32_t step, int stepPower) {
    for (; power >= stepPower; power -= stepPower) multiply(step);
    std::uint32_t rest = 1;
    for (; power > 0; --power) rest *= base;
    multiply(rest);
  }
  std::string digits() const {
    std::string text = std::to_string(limbs_.back());
    char nine[10];
    for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
      std::uint32_t limb = limbs_[i];
      for (int k = 8; k >= 0; --k) {
        nine[k] = static_cast<char>('0' + limb % 10);
        limb /= 10;
      }
      text.append(nine, 9);
    }
    return text;
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

// |x| = mantissa × 2^binaryExponent, the mantissa whole and below 2^53, the exponent at least
// -1074 (where the subnormals' spacing lies).
struct Binary {
  std::uint64_t mantissa;
  int exponent;
};

Binary binaryOf(double x) {
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(x), &exponent);
  Binary b{static_cast<std::uint64_t>(std::ldexp(fraction, 53)), exponent - 53};
  if (b.exponent < -1074) {
    b.mantissa >>= -1074 - b.exponent;
    b.exponent = -1074;
  }
  return b;
}

// The exact decimal value of mantissa × 2^binaryExponent, the mantissa non-zero.
Decimal exactDecimal(std::uint64_t mantissa, int binaryExponent) {
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++binaryExponent;
  }
  BigNumber number(mantissa);
  int decimalShift = 0;
  if (binaryExponent >= 0) {
    number.multiplyByPower(2, binaryExponent, 1u << 29, 29);
  } else {
    // m / 2^k = m × 5^k / 10^k
    number.multiplyByPower(5, -binaryExponent, 1220703125u, 13);
    decimalShift = binaryExponent;
  }
  Decimal decimal{number.digits(), 0};
  decimal.exponent = static_cast<int>(decimal.digits.size()) + decimalShift;
  decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
  return decimal;
}

Decimal exactDecimal(double x) {
  const Binary b = binaryOf(x);
  return exactDecimal(b.mantissa, b.exponent);
}

// -1, 0 or 1 as a is below, equal to or above b; both non-zero, without trailing zeros.
int compare(const Decimal& a, const Decimal& b) {
  if (a.exponent != b.exponent) return a.exponent < b.exponent ? -1 : 1;
  const int order = a.digits.compare(b.digits);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// The first `kept` significant digits (none when kept <= 0), trailing zeros dropped.
Decimal truncated(const Decimal& exact, int kept) {
  Decimal result{exact.digits.substr(0, static_cast<std::size_t>(std::max(kept, 0))),
                 exact.exponent};
  result.digits.erase(result.digits.find_last_not_of('0') + 1);
  return result;
}

// A truncation to `kept` digits with one unit of its last place added: "199", 3 -> "2".
Decimal incremented(Decimal d, int kept) {
  d.digits.resize(static_cast<std::size_t>(kept), '0');
  int i = kept - 1;
  while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
    d.digits[static_cast<std::size_t>(i)] = '0';
    --i;
  }
  if (i >= 0) {
    ++d.digits[static_cast<std::size_t>(i)];
  } else {
    d.digits.insert(0, 1, '1');
    ++d.exponent;
  }
  d.digits.erase(d.digits.find_last_not_of('0') + 1);
  return d;
}

// |x| × 10^places rounded to a whole number, ties to even, by one multiplication, where that
// decides it: 10^places exact (up to 10^22), the product below 2^53, and its fraction clear of
// one half by more than the product's rounding could move it. False where it does not.
// The powers of ten a double holds exactly.
constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool quicklyRounded(double magnitude, int places, std::uint64_t& whole) {
  if (places < 0 || places > 22) return false;
  const double product = magnitude * kPowers[places];
  if (!(product < 9007199254740992.0)) return false;  // 2^53
  const double below = std::floor(product);
  const double fraction = product - below;
  // The product is within half an ulp of the exact one, and an ulp is at most 2^-52 of it.
  if (std::fabs(fraction - 0.5) <= product * 2.220446049250313e-16 + 1e-300) return false;
  whole = static_cast<std::uint64_t>(below) + (fraction > 0.5 ? 1 : 0);
  return true;
}

// The digits rounded to `kept` significant ones, ties to even. At kept 0 the value is weighed
// against half a unit of the place above its first digit; below 0 it rounds to zero (no digits).
Decimal rounded(const Decimal& exact, int kept) {
  const auto size = static_cast<int>(exact.digits.size());
  if (kept >= size) return exact;
  if (kept < 0) return Decimal{{}, exact.exponent};
  const char next = exact.digits[static_cast<std::size_t>(kept)];
  const bool beyond = kept + 1 < size;  // more digits after `next`, never all zeros
  const bool odd = kept > 0 && (exact.digits[static_cast<std::size_t>(kept) - 1] - '0') % 2 == 1;
  const bool up = next > '5' || (next == '5' && (beyond || odd));
  return up ? incremented(truncated(exact, kept), std::max(kept, 0)) : truncated(exact, kept);
}

std::string exponentText(int exponent) {
  std::string text(1, exponent < 0 ? '-' : '+');
  const int magnitude = std::abs(exponent);
  if (magnitude < 10) text += '0';
  return text + std::to_string(magnitude);
}

// d.ddd × 10^(exponent - 1) with `decimals` digits after the point (zeros added, or as many as
// there are when decimals < 0).
std::string scientific(const Decimal& d, int decimals) {
  std::string text(1, d.digits.empty() ? '0' : d.digits[0]);
  std::string rest = d.digits.size() > 1 ? d.digits.substr(1) : std::string();
  if (decimals >= 0) rest.resize(static_cast<std::size_t>(decimals), '0');
  if (!rest.empty()) text += "." + rest;
  return text + "e" + exponentText(d.digits.empty() ? 0 : d.exponent - 1);
}

// 0.ddd × 10^exponent written out with `decimals` digits after the point (zeros added), or with
// as many as there are when decimals < 0.
std::string fixed(const Decimal& d, int decimals) {
  std::string whole, fraction;
  if (d.exponent <= 0) {
    whole = "0";
    fraction = std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
  } else if (static_cast<std::size_t>(d.exponent) < d.digits.size()) {
    whole = d.digits.substr(0, static_cast<std::size_t>(d.exponent));
    fraction = d.digits.substr(static_cast<std::size_t>(d.exponent));
  } else {
    whole = d.digits + std::string(static_cast<std::size_t>(d.exponent) - d.digits.size(), '0');
  }
  if (d.digits.empty()) whole = "0", fraction.clear();
  if (decimals >= 0) fraction.resize(static_cast<std::size_t>(decimals), '0');
  return fraction.empty() ? whole : whole + "." + fraction;
}

// Whether the digits read back as x.
bool readsBack(const Decimal& d, double x) {
  return NearestDouble(d.digits, d.exponent - static_cast<std::int64_t>(d.digits.size())) ==
         std::fabs(x);
}

// Of the two decimals of `kept` digits on either side of x, the one that reads back as x, the
// nearer where both do. (Beside a power of two the gap below is half the gap above, and the
// farther one may read back where the nearer does not.)
bool shortestOf(const Decimal& exact, int kept, double x, Decimal& found) {
  const Decimal nearest = rounded(exact, kept);
  const Decimal below = truncated(exact, kept);
  const Decimal other = nearest.digits == below.digits && nearest.exponent == below.exponent
                            ? incremented(below, kept)
                            : below;
  for (const Decimal* candidate : {&nearest, &other}) {
    if (!candidate->digits.empty() && readsBack(*candidate, x)) {
      found = *candidate;
      return true;
    }
  }
  return false;
}

// The whole number n read as n × 10^-places, trailing zeros dropped.
Decimal decimalOf(std::uint64_t whole, int places) {
  if (whole == 0) return Decimal{};
  char text[24];
  const auto length = static_cast<int>(std::to_chars(text, text + sizeof text, whole).ptr - text);
  int kept = length;
  while (text[kept - 1] == '0') --kept;
  return Decimal{std::string(text, static_cast<std::size_t>(kept)), length - places};
}

// |x|, non-zero and finite, rounded to `digits` significant digits.
Decimal significant(double x, int digits) {
  const double magnitude = std::fabs(x);
  // The decimal exponent of the first digit, which the rounding may yet carry one place up.
  const int first = static_cast<int>(std::floor(std::log10(magnitude)));
  for (const int guess : {first, first - 1, first + 1}) {
    std::uint64_t whole = 0;
    const int places = digits - 1 - guess;
    if (digits < 1 || digits > 22 || !quicklyRounded(magnitude, places, whole)) break;
    // log10 may round a value just below a power of ten up to it: the guess is right only when
    // the value scaled to `digits` places has its first digit in the first of them. Too near a
    // power of ten to tell from the scaled double, the exact digits decide.
    const double scaled = magnitude * kPowers[places];
    const double least = kPowers[digits - 1];
    const double tolerance = scaled * 4.5e-16;
    if (std::fabs(scaled - least) <= tolerance || std::fabs(scaled - 10 * least) <= tolerance)
      break;
    if (scaled < least || scaled >= 10 * least) continue;
    const Decimal d = decimalOf(whole, places);
    // Right when the rounded value has its first digit where guessed, or one place higher by a
    // carry (9.99... to 10).
    const int length = d.exponent + places;
    if (length == digits || (length == digits + 1 && d.digits == "1")) return d;
  }
  return rounded(exactDecimal(x), digits);
}

std::string special(double x) {
  if (std::isnan(x)) return "nan";
  return x < 0 ? "-inf" : "inf";
}

}  // namespace

std::string ShortestText(double x) {
  if (!std::isfinite(x)) return special(x);
  const std::string sign = std::signbit(x) ? "-" : "";
  if (x == 0) return sign + "0";
  const Decimal exact = exactDecimal(x);
  Decimal shortest = exact;
  int low = 1, high = std::min(17, static_cast<int>(exact.digits.size()));
  // Whether some decimal of n digits reads back as x only grows with n.
  while (low < high) {
    const int middle = low + (high - low) / 2;
    Decimal found;
    if (shortestOf(exact, middle, x, found)) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  if (low < static_cast<int>(exact.digits.size())) shortestOf(exact, low, x, shortest);
  // Written out in full, a whole number has as many characters in its exact digits as in the
  // shortest ones padded with zeros, and the exact ones are nearer: they are taken.
  const bool whole = shortest.exponent >= static_cast<int>(shortest.digits.size());
  const std::string asFixed = fixed(whole ? exact : shortest, -1);
  const std::string asScientific = scientific(shortest, -1);
  return sign + (asScientific.size() < asFixed.size() ? asScientific : asFixed);
}

std::string FixedText(double x, int decimals) {
  if (!std::isfinite(x)) return special(x);
  const std::string sign = std::signbit(x) ? "-" : "";
  if (x == 0) return sign + fixed(Decimal{}, decimals);
  std::uint64_t whole = 0;
  if (quicklyRounded(std::fabs(x), decimals, whole)) {
    return sign + fixed(decimalOf(whole, decimals), decimals);
  }
  const Decimal exact = exactDecimal(x);
  return sign + fixed(rounded(exact, exact.exponent + decimals), decimals);
}

std::string ScientificText(double x, int decimals) {
  if (!std::isfinite(x)) return special(x);
  const std::string sign = std::signbit(x) ? "-" : "";
  if (x == 0) return sign + scientific(Decimal{}, decimals);
  return sign + scientific(significant(x, decimals + 1), decimals);
}

std::string GeneralText(double x, int precision) {
  if (!std::isfinite(x)) return special(x);
  const std::string sign = std::signbit(x) ? "-" : "";
  if (x == 0) return sign + "0";
  const Decimal digits = significant(x, precision);
  const int exponent = digits.exponent - 1;  // of d.ddd
  // Trailing zeros are never written: the digits carry none.
  return sign +
         (exponent < precision && exponent >= -4 ? fixed(digits, -1) : scientific(digits, -1));
}

namespace {

// Which way from `guess` the decimal lies: 0 where it rounds to the guess (ties to the even
// one), 1 where it lies above the midpoint to the next double, -1 below the midpoint to the one
// before.
int sideOf(const Decimal& value, double guess) {
  const Binary b = binaryOf(guess);
  const bool even = (b.mantissa & 1) == 0;
  const int above = compare(value, exactDecimal(2 * b.mantissa + 1, b.exponent - 1));
  if (above > 0 || (above == 0 && !even)) return 1;
  // Just above a power of two the neighbour below is nearer by half.
  const bool powerOfTwo = b.mantissa == (std::uint64_t{1} << 52);
  const Decimal below = powerOfTwo ? exactDecimal(4 * b.mantissa - 1, b.exponent - 2)
                                   : exactDecimal(2 * b.mantissa - 1, b.exponent - 1);
  const int under = compare(value, below);
  return under < 0 || (under == 0 && !even) ? -1 : 0;
}

// The double halfway, by bit pattern, between two non-negative doubles.
double midway(double low, double high) {
  std::uint64_t lowBits = 0, highBits = 0;
  std::memcpy(&lowBits, &low, sizeof low);
  std::memcpy(&highBits, &high, sizeof high);
  const std::uint64_t middle = lowBits + (highBits - lowBits) / 2;
  double result = 0;
  std::memcpy(&result, &middle, sizeof result);
  return result;
}

}  // namespace

std::optional<double> NearestDouble(std::string_view digits, std::int64_t scale) {
  while (!digits.empty() && digits.back() == '0') {
    digits.remove_suffix(1);
    ++scale;
  }
  if (digits.empty()) return 0.0;
  const auto length = static_cast<std::int64_t>(digits.size());
  const std::int64_t leading = length + scale;  // the value lies in [10^(leading-1), 10^leading)
  if (leading > 310) return std::nullopt;
  if (leading < -324) return 0.0;
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  // At most 15 digits and a power of ten that is exact: one division or multiplication of two
  // exact doubles, rounded once, is the answer.
  double first = 0;
  for (std::size_t i = 0; i < digits.size() && i < 17; ++i) first = first * 10 + (digits[i] - '0');
  if (length <= 15 && scale >= -22 && scale <= 22) {
    return scale < 0 ? first / kPowers[-scale] : first * kPowers[scale];
  }
  // Otherwise a guess within a few units of the last place, moved until the value lies between
  // the midpoints to its neighbours (ties to the even one).
  const std::int64_t rest = scale + length - std::min<std::int64_t>(length, 17);
  double guess = first * std::pow(10.0, static_cast<double>(rest / 2)) *
                 std::pow(10.0, static_cast<double>(rest - rest / 2));
  if (!std::isfinite(guess)) guess = std::numeric_limits<double>::max();
  if (guess == 0) guess = std::numeric_limits<double>::denorm_min();
  const Decimal value{std::string(digits), static_cast<int>(leading)};
  // Where the guess is a few steps off (the usual case) stepping finds the answer at once;
  // a runtime whose pow() strays further (mingw-w64's 64-bit one does for tiny powers) is
  // settled by halving the range of bit patterns, which the exact comparison orders.
  double below = 0, above = std::numeric_limits<double>::max();
  for (int step = 0; step < 200; ++step) {
    const int side = sideOf(value, guess);
    if (side == 0) return guess;
    if (side > 0) {
      if (guess == std::numeric_limits<double>::max()) return std::nullopt;
      below = guess;
    } else {
      above = guess;
    }
    if (step < 8) {
      guess = std::nextafter(guess, side > 0 ? HUGE_VAL : 0.0);
    } else {
      guess = midway(below, above);
    }
    if (guess == 0) return 0.0;
  }
  return guess;
}

std::size_t ReadNumber(std::string_view text, double& value, bool& tooLarge) {
  tooLarge = false;
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  const auto isDigit = [&](std::size_t at) {
    return at < text.size() && text[at] >= '0' && text[at] <= '9';
  };
  std::string digits;
  std::int64_t scale = 0;
  bool anyDigit = false, afterPoint = false, dropped = false;
  for (; isDigit(i) || (i < text.size() && text[i] == '.' && !afterPoint); ++i) {
    if (text[i] == '.') {
      // A point needs a digit on one side or the other.
      if (!anyDigit && !isDigit(i + 1)) return 0;
      afterPoint = true;
      continue;
    }
    anyDigit = true;
    if (digits.empty() && text[i] == '0') {
      if (afterPoint) --scale;
    } else if (digits.size() < kKeptDigits) {
      digits += text[i];
      if (afterPoint) --scale;
    } else {
      dropped = dropped || text[i] != '0';
      if (!afterPoint) ++scale;
    }
  }
  if (!anyDigit) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t at = i + 1;
    const bool down = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    if (isDigit(at)) {
      std::int64_t exponent = 0;
      for (; isDigit(at); ++at)
        exponent = std::min<std::int64_t>(exponent * 10 + (text[at] - '0'), 1000000000);
      scale += down ? -exponent : exponent;
      i = at;
    }
  }
  if (dropped) {
    digits += '1';
    --scale;
  }
  const std::optional<double> magnitude = digits.empty() ? 0.0 : NearestDouble(digits, scale);
  if (!magnitude) {
    tooLarge = true;
    return i;
  }
  value = negative ? -*magnitude : *magnitude;
  return i;
}

}  // namespace korvale
