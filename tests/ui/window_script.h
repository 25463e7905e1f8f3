#pragma once

// What a person does in the calculator window and what it must then show, written once for both
// front ends' window tests: "teeth | pitch | D | Da".
namespace korvale::ui::testing {

// Typing into the emptied teeth entry, one key at a time ('\b' is Backspace).
struct Keystroke {
  char key;
  const char* shown;
};
inline constexpr Keystroke kTeethKeystrokes[] = {{'2', "2 | 5M | 3.18 | 3.18"},
                                                 {'3', "23 | 5M | 36.6 | 36.6"},
                                                 {'.', "23. | 5M | 36.6 | 36.6"},
                                                 {'5', "23.5 | 5M | 37.4 | 37.4"},
                                                 {'\b', "23. | 5M | 36.6 | 36.6"}};

// Each entry of the pitch list picked with the teeth at "20", by its index.
inline constexpr const char* kPicked[] = {"20 | 3M | 19.09 | 18.33", "20 | 5M | 31.83 | 30.69",
                                          "20 | 8M | 50.92 | 49.55", "20 | 14M | 89.12 | 86.32"};

}  // namespace korvale::ui::testing
