#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace korvale::calc {

// Where the program's text goes: standard output or error, or a string in the tests.
class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // Writes all of `text`, or returns false and can say why.
  virtual bool write(std::string_view text) = 0;
  virtual std::string failure() const { return "write error"; }
};

// A stream of the C library's, flushed with every write so that a failure shows at once: a full
// disk, a closed descriptor, a reader gone from the pipe (where SIGPIPE is ignored, or on
// Windows).
class FileOutput : public OutputStream {
 public:
  explicit FileOutput(std::FILE* file) : file_(file) {}
  bool write(std::string_view text) override {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) == text.size() && std::fflush(file_) == 0)
      return true;
    error_ = errno;
    return false;
  }
  std::string failure() const override {
    return error_ != 0 ? std::strerror(error_) : "write error";
  }

 private:
  std::FILE* file_;
  int error_ = 0;
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

}  // namespace korvale::calc
