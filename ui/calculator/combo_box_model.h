#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvale::ui {

// A drop-down combo box: an editable field over a fixed list. Its rules:
// - typing into the field leaves no entry selected, even when the typed text equals an entry, and
//   runs Change; an edit that leaves the text as it was changes nothing, the selection included;
// - picking an entry (mouse or keyboard) selects it, puts its text into the field and runs Click,
//   never Change;
// - the same from the program's code: setText is a typed change, setSelectedIndex a pick, and
//   either runs its handler at once, inside the call.
class ComboBoxModel {
 public:
  using Handler = std::function<void()>;

  ComboBoxModel(std::vector<std::string> entries, std::string initialText)
      : entries_(std::move(entries)), text_(std::move(initialText)) {}

  const std::string& text() const { return text_; }
  const std::vector<std::string>& entries() const { return entries_; }
  // 0 to entries().size() - 1, or -1 when no entry is selected.
  int SelectedIndex() const { return selectedIndex_; }

  void setText(std::string_view text);
  // -1 only deselects; an index beyond the list throws RuntimeError 380 ("Invalid property value").
  void setSelectedIndex(int index);

  // Retyping or pasting the selected entry's own text leaves the selection, and with it the
  // offset the results were computed with.
  void userTyped(std::string_view text) { setText(text); }
  void userPicked(int index) { setSelectedIndex(index); }

  void onChange(Handler handler) { changeHandler_ = std::move(handler); }
  void onClick(Handler handler) { clickHandler_ = std::move(handler); }
  // Told after every change of the text or the selection, before any handler runs.
  void onDisplayChanged(Handler observer) { displayObserver_ = std::move(observer); }

 private:
  void displayChanged() {
    if (displayObserver_) displayObserver_();
  }

  std::vector<std::string> entries_;
  std::string text_;
  int selectedIndex_ = -1;
  Handler changeHandler_;
  Handler clickHandler_;
  Handler displayObserver_;
};

}  // namespace korvale::ui
