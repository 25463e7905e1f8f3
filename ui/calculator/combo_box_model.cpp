#include "ui/calculator/combo_box_model.h"

#include "core/runtime_error.h"

namespace korvale::ui {
namespace {

constexpr int kInvalidPropertyValue = 380;

}  // namespace

void ComboBoxModel::setText(std::string_view text) {
  if (text == text_) return;
  text_.assign(text);
  selectedIndex_ = -1;
  displayChanged();
  if (changeHandler_) changeHandler_();
}

void ComboBoxModel::setSelectedIndex(int index) {
  if (index < -1 || index >= static_cast<int>(entries_.size())) {
    throw RuntimeError(kInvalidPropertyValue, "Invalid property value");
  }
  selectedIndex_ = index;
  if (index >= 0) text_ = entries_[static_cast<std::size_t>(index)];
  displayChanged();
  if (index >= 0 && clickHandler_) clickHandler_();
}

}  // namespace korvale::ui
