#include "ui/calculator/text_box_model.h"

namespace korvale::ui {

void TextBoxModel::setText(std::string_view text) {
  if (text == text_) return;
  text_.assign(text);
  if (displayObserver_) displayObserver_();
  if (changeHandler_) changeHandler_();
}

}  // namespace korvale::ui
