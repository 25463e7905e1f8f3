#pragma once

#include <string>
#include <string_view>

namespace korvale::report {

// Where text goes: standard output or error, the clipboard's text, a string in the tests.
class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // Writes all of `text`, or returns false and can say why.
  virtual bool write(std::string_view text) = 0;
  virtual std::string failure() const { return "write error"; }
};

// Output gathered in a string: the clipboard's text, a test's view of standard output.
class StringOutput : public OutputStream {
 public:
  bool write(std::string_view text) override {
    text_ += text;
    return true;
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Output that could not be written, and why: "No space left on device".
struct OutputFailed {
  std::string reason;
};

// Gathers text and hands it on in blocks of 64 KiB, so that a hundred thousand rows cost a few
// dozen writes rather than one each. A block that cannot be written throws OutputFailed, so that
// whatever is being written stops at once. Whatever is left goes out when it is destroyed.
class BufferedOutput {
 public:
  explicit BufferedOutput(OutputStream& sink) : sink_(sink) { text_.reserve(kBlock + 1024); }
  ~BufferedOutput() {
    try {
      flush();
    } catch (const OutputFailed&) {
      // Already failed, or too late to tell: a caller who must know flushes first.
    }
  }
  BufferedOutput(const BufferedOutput&) = delete;
  BufferedOutput& operator=(const BufferedOutput&) = delete;

  std::string& text() { return text_; }
  void endLine() {
    text_ += '\n';
    flushIfFull();
  }
  void flushIfFull() {
    if (text_.size() >= kBlock) flush();
  }
  void flush() {
    const bool written = text_.empty() || failed_ || sink_.write(text_);
    text_.clear();
    if (!written && !failed_) {
      failed_ = true;
      throw OutputFailed{sink_.failure()};
    }
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  OutputStream& sink_;
  std::string text_;
  bool failed_ = false;
};

}  // namespace korvale::report
