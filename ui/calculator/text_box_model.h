#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace korvale::ui {

// What a single-line text box holds, and when its Change handler runs. The front end mirrors the
// text and reports the user's edits; it never keeps a text of its own.
class TextBoxModel {
 public:
  using Handler = std::function<void()>;

  explicit TextBoxModel(std::string initialText) : text_(std::move(initialText)) {}

  const std::string& text() const { return text_; }

  // A change from the program's code. Like a user's edit, a text that differs runs the Change
  // handler at once, inside this call; setting the same text again changes nothing.
  void setText(std::string_view text);

  // The user typed, deleted or pasted: the box now shows `text`.
  void userEdited(std::string_view text) { setText(text); }

  void onChange(Handler handler) { changeHandler_ = std::move(handler); }
  // Told after every change of the text, before the Change handler runs: the front end mirrors.
  void onDisplayChanged(Handler observer) { displayObserver_ = std::move(observer); }

 private:
  std::string text_;
  Handler changeHandler_;
  Handler displayObserver_;
};

}  // namespace korvale::ui
