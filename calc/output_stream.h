#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace korvale::calc {

// Where the program's text goes: standard output or error, or a string in the tests.
class OutputStream {
 public:
  virtual ~OutputStream() = default;
  virtual void write(std::string_view text) = 0;
};

class FileOutput : public OutputStream {
 public:
  explicit FileOutput(std::FILE* file) : file_(file) {}
  void write(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), file_); }

 private:
  std::FILE* file_;
};

// Gathers text and hands it on in blocks of 64 KiB, so that a hundred thousand rows cost a few
// dozen writes rather than one each. Whatever is left goes out when it is destroyed.
class BufferedOutput {
 public:
  explicit BufferedOutput(OutputStream& sink) : sink_(sink) { text_.reserve(kBlock + 1024); }
  ~BufferedOutput() { flush(); }
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
    if (!text_.empty()) sink_.write(text_);
    text_.clear();
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  OutputStream& sink_;
  std::string text_;
};

}  // namespace korvale::calc
