#include "state/platform/posix_own_place.h"

#include <fcntl.h>

#include <cerrno>
#include <deque>
#include <vector>

namespace korvale::platform {
namespace {

// As the kernel does, a path that goes through more links than this is taken for a loop.
constexpr int kMostLinks = 40;
// No link the system makes holds a longer target than a path may be.
constexpr std::size_t kLongestLinkTarget = 4096;

std::deque<std::string> namesIn(const std::string& path) {
  std::deque<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    if (slash > start) names.emplace_back(path, start, slash - start);
    start = slash + 1;
  }
  return names;
}

Descriptor openPath(int folder, const char* name) {
  return Descriptor(::openat(folder, name, O_PATH | O_NOFOLLOW | O_CLOEXEC));
}

std::string linkTarget(const Descriptor& link, const struct stat& info) {
  // st_size is the target's length where the file system knows it (the system's own links under
  // /proc give 0); a buffer the target fills may have cut it, so it is read again into more room.
  std::size_t room = static_cast<std::size_t>(info.st_size) + 64;
  for (;;) {
    std::vector<char> buffer(room);
    const ssize_t length = ::readlinkat(link.get(), "", buffer.data(), buffer.size());
    if (length < 0) throw Refusal{errno, {}};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
    if (room > kLongestLinkTarget) throw Refusal{ENAMETOOLONG, {}};
    room *= 2;
  }
}

}  // namespace

OwnPlace findOwnPlace(const std::string& path, bool createFolders) {
  std::deque<std::string> pending = namesIn(path);
  Descriptor folder = openPath(AT_FDCWD, path.rfind('/', 0) == 0 ? "/" : ".");
  if (!folder) throw Refusal{errno, {}};
  int linksFollowed = 0;
  while (!pending.empty()) {
    const std::string name = std::move(pending.front());
    pending.pop_front();
    if (name == ".") continue;
    const bool last = pending.empty();
    Descriptor next = openPath(folder.get(), name.c_str());
    if (!next) {
      if (errno == ENOENT && last) return {std::move(folder), name, std::nullopt};
      if (errno == ENOENT && createFolders) {
        if (::mkdirat(folder.get(), name.c_str(), 0700) != 0 && errno != EEXIST) {
          throw Refusal{errno, {}};
        }
        pending.push_front(name);
        continue;
      }
      throw Refusal{errno, {}};
    }
    struct stat info {};
    if (::fstat(next.get(), &info) != 0) throw Refusal{errno, {}};
    if (S_ISLNK(info.st_mode)) {
      if (!ownedByUser(info) && info.st_uid != 0) {
        throw Refusal{EACCES, "a link there belongs to another user"};
      }
      if (++linksFollowed > kMostLinks) throw Refusal{ELOOP, {}};
      const std::string target = linkTarget(next, info);
      if (target.rfind('/', 0) == 0) {
        folder = openPath(AT_FDCWD, "/");
        if (!folder) throw Refusal{errno, {}};
      }
      std::deque<std::string> names = namesIn(target);
      pending.insert(pending.begin(), names.begin(), names.end());
      continue;
    }
    if (last) return {std::move(folder), name, info};
    if (!S_ISDIR(info.st_mode)) throw Refusal{ENOTDIR, {}};
    folder = std::move(next);
  }
  throw Refusal{EISDIR, {}};  // the path names a folder, not a file
}

}  // namespace korvale::platform
