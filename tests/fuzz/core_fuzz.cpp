// libFuzzer target over the calculation: whatever the bytes, only the overflow error may escape,
// and a shown number reads back as itself.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/number_text.h"
#include "core/pulley_calculation.h"
#include "core/runtime_error.h"
#include "core/text_value.h"

namespace {

// Values within 15 digits of the largest double are shown rounded up past it
// ("1.79769313486232E+308") and cannot be read back; every other shown number must read back as
// itself.
void checkNumberTextReadsBack(double x) {
  if (!std::isfinite(x) || std::fabs(x) > 1.797693134862315e308) return;
  const std::string shown = korvale::NumberText(x);
  if (korvale::NumberText(korvale::TextValue(shown)) != shown) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    checkNumberTextReadsBack(korvale::TextValue(text));
  } catch (const korvale::RuntimeError& e) {
    if (e.number() != korvale::kOverflowErrorNumber) std::abort();
  }

  if (size >= sizeof(double)) {
    double bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    checkNumberTextReadsBack(bits);
  }

  // The first byte picks the selection, the first '|' splits teeth from pitch.
  const int selectedIndex = size > 0 ? static_cast<int>(data[0] % 6) - 1 : -1;
  const std::size_t split = text.find('|');
  const std::string_view teeth =
      text.substr(size > 0 ? 1 : 0, split == text.npos ? text.npos : split - 1);
  const std::string_view pitch = split == text.npos ? "5M" : text.substr(split + 1);
  try {
    double PitchDia = 0;
    korvale::ComputeDiameters(teeth, pitch, selectedIndex, PitchDia);
  } catch (const korvale::RuntimeError& e) {
    if (e.number() != korvale::kOverflowErrorNumber) std::abort();
  }
  return 0;
}
