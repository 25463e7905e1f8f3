#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/language.h"

namespace korvale::ui {

// The controls of the calculator window, in the order the window creates them.
enum class ControlId {
  Combo1_1,
  Frame1,
  Text1_1,
  Text1_0,
  Label1_4,
  Label1_3,
  Text2_0,
  Label1_0,
  Label1_1
};

enum class ControlKind { Label, TextBox, DropDownComboBox, Frame };

// A control's rectangle in twips (1/1440 inch), relative to its container's client area.
struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct FontDescription {
  std::string_view faceName;  // "宋体" (SimSun)
  double pointSize;
  int characterSet;  // 134: GB2312
  int weight;        // 400 regular, 700 bold
};

struct ControlDescription {
  ControlId id;
  std::string_view name;  // the control array's name, "Text1"
  int member;             // the index within its array: Text1(0) is name "Text1", member 0
  ControlKind kind;
  bool insideFrame;  // its container is Frame1 rather than the window
  TwipsRect bounds;
  std::string_view text;     // initial text, or caption (in Chinese, the window as it was made)
  std::string_view english;  // the caption in English; empty where the text is the same in both
  int tabIndex;
  FontDescription font;
  std::optional<ControlId> names;  // for a label, the input or result beside it that it names
  bool focusable() const {
    return kind == ControlKind::TextBox || kind == ControlKind::DropDownComboBox;
  }
};

struct WindowDescription {
  std::string_view caption;
  int clientWidthTwips;
  int clientHeightTwips;
  FontDescription font;                      // every control's, its labels' in bold
  std::vector<ControlDescription> controls;  // in creation order
  std::vector<std::string_view> pitchListEntries;

  const ControlDescription& control(ControlId id) const;
  // The focusable controls in tab order: Text2(0), Text1(0), Text1(1), Combo1(1).
  std::vector<const ControlDescription*> tabOrder() const;
};

// A control's caption in a language: the description's own in Chinese; in English, "Teeth",
// "Pitch", "Results", "Outer Da" and "Pitch D" for the labels and the frame. Every
// other text (the window's title, the list entries, the initial texts) is the same in both.
std::string_view captionOf(ControlId id, Language language);

// The label beside an input or result, which names it: Label1(0) for Text2(0); nothing for any
// other control.
std::optional<ControlId> labelOf(ControlId id);

// What assistive technology calls a focusable control: the caption of the label beside it without
// its colon, "齿数T" for Text2(0), "节圆直径 D" for Text1(0) ("Teeth", "Pitch D" in
// English); empty for any other control.
std::string accessibleName(ControlId id, Language language = Language::Chinese);

// The window as it is before any code runs: caption "Korvale", client area 3150 × 3375 twips, the
// nine controls with their captions, initial texts "20" and "5M", fonts and tab indexes.
const WindowDescription& Form1Description();

// Twips to pixels at a resolution, rounded to nearest: 15 twips make a pixel at 96 DPI, so
// twipsToPixels(3150, 96) is 210 and twipsToPixels(3150, 144) is 315.
int twipsToPixels(int twips, int dotsPerInch);

}  // namespace korvale::ui
