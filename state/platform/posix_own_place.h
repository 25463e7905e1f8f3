#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

// Finding the state file without trusting what another user may have put in its way.
namespace korvale::platform {

// A file descriptor, closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    Descriptor old(fd_);
    fd_ = other.release();
    return *this;
  }
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Why a place was refused: an errno value, and what it meant here where strerror alone would
// mislead ("Permission denied" for a link another user planted).
struct Refusal {
  int error;
  std::string detail;  // empty: strerror(error) says it all
};

// Where a path leads: its folder, open, and the name within it, with what stands there (nothing
// when the name is free).
struct OwnPlace {
  Descriptor folder;
  std::string name;
  std::optional<struct stat> existing;
};

// Walks `path` one name at a time on descriptors, following a symbolic link only when the user
// running the program or root owns it: a link that another user planted could otherwise aim a
// save at any file the user may write. "/tmp/shared/Rede.txt" -> folder /tmp/shared, "Rede.txt";
// the same name as a link of the user's own to "/home/ana/keep.txt" -> folder /home/ana,
// "keep.txt", also when keep.txt does not exist yet. With `createFolders`, missing folders on the
// way are made, open to their owner alone (0700). Throws a Refusal.
OwnPlace findOwnPlace(const std::string& path, bool createFolders);

// Whether a file, as fstat tells it, belongs to the user running the program.
inline bool ownedByUser(const struct stat& info) {
  return info.st_uid == ::geteuid();
}

}  // namespace korvale::platform
