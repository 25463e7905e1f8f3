// libFuzzer target over the state file reader: any bytes parse without crashing or throwing, and
// whatever is read back writes and reads back as itself when it holds no quote or line end.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "state/state_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto inputs = korvale::parseStateFile(bytes);
  if (!inputs) return 0;
  const auto isPlain = [](const std::string& text) {
    return text.find_first_of("\"\r\n") == std::string::npos;
  };
  if (isPlain(inputs->teethText) && isPlain(inputs->pitchText)) {
    std::string written;
    for (std::string_view piece : korvale::stateFilePieces(inputs->teethText, inputs->pitchText)) {
      written += piece;
    }
    const auto again = korvale::parseStateFile(written);
    if (!again || !(*again == *inputs)) std::abort();
  }
  return 0;
}
