#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "report/output_stream.h"

namespace korvale::calc {

// A stream of the C library's, flushed with every write so that a failure shows at once: a full
// disk, a closed descriptor, a reader gone from the pipe (where SIGPIPE is ignored, or on
// Windows).
class FileOutput : public report::OutputStream {
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

}  // namespace korvale::calc
