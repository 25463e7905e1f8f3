#pragma once

#include <string>

namespace korvale {

// The two input texts carried from one run to the next, exactly as they stood in their boxes.
struct SavedInputs {
  std::string teethText;
  std::string pitchText;

  bool operator==(const SavedInputs& other) const {
    return teethText == other.teethText && pitchText == other.pitchText;
  }
};

}  // namespace korvale
