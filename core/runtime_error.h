#pragma once

#include <stdexcept>
#include <string>

namespace korvale {

// The one error type of the program: a failing operation throws it, with an error number and a
// description that the top-level report shows to the user, e.g. {6, "Overflow"}.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}

  int number() const noexcept { return number_; }
  std::string description() const { return what(); }

 private:
  int number_;
};

// Error numbers follow the long-standing BASIC runtime numbering, which users of such tools know.
inline constexpr int kOverflowErrorNumber = 6;
inline constexpr int kOutOfMemoryErrorNumber = 7;
inline constexpr int kDiskFullErrorNumber = 61;
inline constexpr int kPermissionDeniedErrorNumber = 70;
inline constexpr int kFileAccessErrorNumber = 75;

// An allocation failed: what was being done needed more memory than there is.
inline RuntimeError outOfMemoryError() {
  return RuntimeError(kOutOfMemoryErrorNumber, "Out of memory");
}

// A number that does not fit a double (text "1E400", or a quotient beyond 1.8E+308).
inline RuntimeError overflowError() {
  return RuntimeError(kOverflowErrorNumber, "Overflow");
}

}  // namespace korvale
