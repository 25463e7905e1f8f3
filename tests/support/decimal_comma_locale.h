#pragma once

#include <clocale>
#include <string>

namespace korvale::testing {

// While it lives, the C library writes and reads numbers with a decimal comma, as it does on a
// German desktop once a toolkit has set the locale from the environment: no figure the program
// reads or writes may notice. active() tells whether the system had such a locale to give.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "German"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) break;
    }
  }
  ~DecimalCommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  DecimalCommaLocale(const DecimalCommaLocale&) = delete;
  DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

  bool active() const { return *std::localeconv()->decimal_point == ','; }

 private:
  std::string previous_;
};

}  // namespace korvale::testing
