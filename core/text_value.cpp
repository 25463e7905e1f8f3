#include "core/text_value.h"

#include <cstdint>
#include <optional>
#include <string>

#include "core/decimal_text.h"
#include "core/runtime_error.h"

namespace korvale {
namespace {

// Any halfway point between two adjacent doubles has at most 767 significant decimal digits, so
// 800 kept digits, plus one non-zero "sticky" digit standing for whatever non-zero digits were
// dropped, round exactly as the full number would.
constexpr std::size_t kMaxKeptDigits = 800;

// Decimal exponents are clamped here while they are accumulated; anything this far out is zero or
// an overflow anyway, and the clamp keeps the arithmetic within int64_t.
constexpr std::int64_t kExponentClamp = 1'000'000'000'000;

// Beyond these decimal exponents of the leading digit a value is certainly an overflow
// (10^309 > 1.8E+308) or certainly rounds to zero (10^-330 < half the smallest subnormal).
constexpr std::int64_t kLargestFiniteExponent = 308;
constexpr std::int64_t kSmallestNonZeroExponent = -330;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  // The next character that is not a blank, without consuming it; '\0' at the end.
  char peek() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void advance() { ++pos_; }
  std::size_t position() const { return pos_; }
  void rewind(std::size_t position) { pos_ = position; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::int64_t clampExponent(std::int64_t e) {
  if (e > kExponentClamp) return kExponentClamp;
  if (e < -kExponentClamp) return -kExponentClamp;
  return e;
}

// The decimal read so far: value = digits × 10^scale, digits without leading zeros.
struct Decimal {
  std::string digits;
  bool droppedNonZero = false;
  std::int64_t scale = 0;
  bool anyDigit = false;

  void addDigit(char d, bool afterPoint) {
    anyDigit = true;
    if (digits.empty() && d == '0') {
      if (afterPoint) scale = clampExponent(scale - 1);
      return;
    }
    if (digits.size() < kMaxKeptDigits) {
      digits.push_back(d);
      if (afterPoint) scale = clampExponent(scale - 1);
    } else {
      droppedNonZero = droppedNonZero || d != '0';
      if (!afterPoint) scale = clampExponent(scale + 1);
    }
  }
};

// Reads "E", an optional sign and at least one digit; returns 0 and consumes nothing otherwise.
std::int64_t readExponent(Scanner& scanner) {
  const std::size_t start = scanner.position();
  const char letter = scanner.peek();
  if (letter != 'E' && letter != 'e') return 0;
  scanner.advance();
  bool negative = false;
  if (scanner.peek() == '+' || scanner.peek() == '-') {
    negative = scanner.peek() == '-';
    scanner.advance();
  }
  if (!isDigit(scanner.peek())) {
    scanner.rewind(start);
    return 0;
  }
  std::int64_t exponent = 0;
  for (char c = scanner.peek(); isDigit(c); c = scanner.peek()) {
    exponent = clampExponent(exponent * 10 + (c - '0'));
    scanner.advance();
  }
  return negative ? -exponent : exponent;
}

double roundToDouble(const Decimal& decimal, std::int64_t exponent) {
  if (decimal.digits.empty()) return 0.0;
  const std::int64_t scale = clampExponent(decimal.scale + exponent);
  const auto leadingExponent = static_cast<std::int64_t>(decimal.digits.size()) - 1 + scale;
  if (leadingExponent > kLargestFiniteExponent) throw overflowError();
  if (leadingExponent < kSmallestNonZeroExponent) return 0.0;

  std::string digits = decimal.digits;
  if (decimal.droppedNonZero) digits.push_back('1');
  const std::int64_t digitsScale = scale - (decimal.droppedNonZero ? 1 : 0);
  const std::optional<double> value = NearestDouble(digits, digitsScale);
  if (!value) throw overflowError();
  return *value;
}

}  // namespace

double TextValue(std::string_view text) {
  Scanner scanner(text);
  bool negative = false;
  if (scanner.peek() == '+' || scanner.peek() == '-') {
    negative = scanner.peek() == '-';
    scanner.advance();
  }

  Decimal decimal;
  bool afterPoint = false;
  for (char c = scanner.peek();; c = scanner.peek()) {
    if (isDigit(c)) {
      decimal.addDigit(c, afterPoint);
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
    } else {
      break;
    }
    scanner.advance();
  }
  if (!decimal.anyDigit) return 0.0;

  const double magnitude = roundToDouble(decimal, readExponent(scanner));
  return negative ? -magnitude : magnitude;
}

}  // namespace korvale
