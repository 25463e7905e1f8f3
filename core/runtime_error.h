#pragma once

#include <exception>
#include <string>
#include <utility>

namespace korvale {

// The one error type of the program: a failing operation throws it, with an error number and a
// description that the top-level report shows to the user, e.g. {6, "Overflow"}. It keeps its
// text in a std::string rather than deriving from std::runtime_error: the library's runtime_error
// carries the old reference-counted string, whose code would be linked into every statically
// linked Windows program for this one use.
class RuntimeError : public std::exception {
 public:
  RuntimeError(int number, std::string description)
      : number_(number), description_(std::move(description)) {}

  int number() const noexcept { return number_; }
  std::string description() const { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int number_;
  std::string description_;
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
