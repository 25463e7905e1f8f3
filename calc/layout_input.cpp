#include "calc/layout_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace korvale::calc {
namespace {

bool readAll(std::FILE* file, std::string& text, std::string& whyNot) {
  char buffer[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    text.append(buffer, got);
    if (text.size() > kLongestLayoutFile) {
      whyNot = "it is longer than " + std::to_string(kLongestLayoutFile >> 20) + " MiB";
      return false;
    }
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file)) {
    whyNot = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool ReadLayoutInput(std::string_view path, std::string& text, std::string& whyNot) {
  text.clear();
  if (path == "-") return readAll(stdin, text, whyNot);
  const std::string name(path);
#ifdef _WIN32
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) {
    // Windows will not open a folder at all: say what it is rather than "Permission denied".
    const int error = errno;
    struct _stat64 status {};
    whyNot = _stat64(name.c_str(), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFDIR
                 ? "it is not a regular file"
                 : std::strerror(error);
    return false;
  }
  struct _stat64 status {};
  if (_fstat64(_fileno(file), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
    std::fclose(file);
    whyNot = "it is not a regular file";
    return false;
  }
#else
  // Opened without waiting, so that a FIFO is told of rather than waited on; decided on the open
  // descriptor, not on a path looked at before.
  const int descriptor = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    whyNot = std::strerror(errno);
    return false;
  }
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    whyNot = "it is not a regular file";
    return false;
  }
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(descriptor, "rb");
  if (file == nullptr) {
    ::close(descriptor);
    whyNot = std::strerror(errno);
    return false;
  }
#endif
  const bool read = readAll(file, text, whyNot);
  std::fclose(file);
  return read;
}

}  // namespace korvale::calc
