#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "state/platform/file_system.h"
#include "state/platform/leftovers.h"
#include "state/platform/write_error.h"

namespace korvale::platform {
namespace {

constexpr std::size_t kReadChunk = 4096;

class PosixInputFile : public InputFile {
 public:
  explicit PosixInputFile(int fd) : fd_(fd) {}
  ~PosixInputFile() override { ::close(fd_); }
  PosixInputFile(const PosixInputFile&) = delete;
  PosixInputFile& operator=(const PosixInputFile&) = delete;

  int next() override {
    if (position_ == filled_) {
      ssize_t got = 0;
      do {
        got = ::read(fd_, buffer_, sizeof buffer_);
      } while (got < 0 && errno == EINTR);
      if (got <= 0) return -1;
      filled_ = static_cast<std::size_t>(got);
      position_ = 0;
    }
    return static_cast<unsigned char>(buffer_[position_++]);
  }

 private:
  int fd_;
  char buffer_[kReadChunk];
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
};

WriteFailure classify(int error) {
  if (error == ENOSPC || error == EDQUOT) return WriteFailure::kDiskFull;
  if (error == EACCES || error == EPERM || error == EROFS) return WriteFailure::kPermissionDenied;
  return WriteFailure::kOther;
}

[[noreturn]] void fail(const std::string& path, int error) {
  throw writeError(classify(error), path, std::strerror(error));
}

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The mode a new file gets from this process: 0666 less the umask.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Writes everything, or returns the errno of the failure.
int writeAll(int fd, std::string_view bytes, const WriteFault* fault) {
  const std::string_view part = bytesBeforeFault(bytes, fault);
  std::size_t written = 0;
  while (written < part.size()) {
    const ssize_t done = ::write(fd, part.data() + written, part.size() - written);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return errno;
    written += static_cast<std::size_t>(done);
  }
  return faultStrikes(bytes, fault) ? fault->systemError : 0;
}

// mkstemp's pattern: "Rede.txt.tmp-" and six characters it picks.
constexpr char kTemporarySuffix[] = ".tmp-XXXXXX";

// The file a path names, symbolic links followed: "/home/ana/Rede.txt" -> "/data/Rede.txt" when
// the former is a link to the latter. A path that is no link, or whose link leads nowhere yet,
// stays as it is.
std::string resolvedPath(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

// How old a temporary file must be before it counts as left behind: a younger one may belong to
// a save that another running copy is making at this moment.
constexpr time_t kLeftoverAgeSeconds = 60;

// Writes all of `bytes` from the file's start, or returns the errno of the failure.
int writeFromStart(int fd, std::string_view bytes, const WriteFault* fault) {
  if (::lseek(fd, 0, SEEK_SET) != 0 || ::ftruncate(fd, 0) != 0) return errno;
  return writeAll(fd, bytes, fault);
}

// The fallback where the directory takes no new file: the file is truncated and written where it
// stands. Not atomic, so its old bytes are kept in memory and written back should this fail.
void rewriteInPlace(const std::string& target, const std::string& path, std::string_view bytes,
                    const WriteFault* fault) {
  const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) fail(path, errno);
  std::string oldBytes;
  char chunk[kReadChunk];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      ::close(fd);
      fail(path, error);
    }
    if (got == 0) break;
    oldBytes.append(chunk, static_cast<std::size_t>(got));
  }
  int error = writeFromStart(fd, bytes, fault);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (error != 0) {
    if (writeFromStart(fd, oldBytes, nullptr) == 0) ::fsync(fd);
    ::close(fd);
    fail(path, error);
  }
  if (::close(fd) != 0) fail(path, errno);
}

}  // namespace

void removeLeftoverTemporaries(const std::string& target) noexcept {
  const std::string directory = directoryOf(target);
  const std::string prefix = target.substr(target.rfind('/') + 1) + ".tmp-";
  DIR* listing = ::opendir(directory.c_str());
  if (listing == nullptr) return;
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
    struct stat info {};
    if (::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(info.st_mode) && now - info.st_mtime >= kLeftoverAgeSeconds) {
      ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
  }
  ::closedir(listing);
}

std::string executableDirectory() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) throw programDirectoryUnknown(std::strerror(errno));
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return directoryOf(std::string(buffer.data(), static_cast<std::size_t>(length)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::string> installedCopyStateDirectory(const std::string& programDirectory) {
  struct stat info {};
  const std::string marker = directoryOf(programDirectory) + "/share/korvale/installed-copy";
  if (::stat(marker.c_str(), &info) != 0) return std::nullopt;
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome != nullptr && configHome[0] == '/') return std::string(configHome) + "/korvale";
  std::string home;
  if (const char* variable = std::getenv("HOME"); variable != nullptr && variable[0] == '/') {
    home = variable;
  } else if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir) {
    home = user->pw_dir;
  }
  if (home.empty() || home[0] != '/') {
    throw RuntimeError(kFileAccessErrorNumber, "Cannot find the user's home directory");
  }
  return home + "/.config/korvale";
}

void createDirectories(const std::string& directory, const std::string& forPath) {
  for (std::size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
    if (::mkdir(directory.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) {
      fail(forPath, errno);
    }
    if (slash == std::string::npos) return;
  }
}

char pathSeparator() {
  return '/';
}

std::string toFileCodePage(std::string_view utf8) {
  return std::string(utf8);
}
std::string fromFileCodePage(std::string_view bytes) {
  return std::string(bytes);
}

std::unique_ptr<InputFile> InputFile::open(const std::string& path) noexcept {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  try {
    return std::make_unique<PosixInputFile>(fd);
  } catch (...) {
    ::close(fd);
    return nullptr;
  }
}

void replaceFileAtomically(const std::string& path, std::string_view bytes,
                           const WriteFault* fault) {
  // Through a symbolic link the file it points to is replaced, and the link stays.
  const std::string target = resolvedPath(path);
  removeLeftoverTemporaries(target);

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    // What a plain write would refuse is refused here too: a read-only file, and one the user
    // cannot read, which start-up could not restore and must not be overwritten with defaults.
    const int probe = ::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (probe < 0) fail(path, errno);
    ::close(probe);
  }

  std::string temporary = target + kTemporarySuffix;
  const int fd = fault != nullptr && fault->noTemporaryFile ? (errno = EACCES, -1)
                                                            : ::mkstemp(temporary.data());
  if (fd < 0) {
    // No new file can be made in the directory, but the file itself may be written.
    if (exists && (errno == EACCES || errno == EPERM))
      return rewriteInPlace(target, path, bytes, fault);
    fail(path, errno);
  }

  // Keep the permissions and, where the process may, the owner the file had; a new file gets
  // the usual permissions, not mkstemp's 0600.
  const mode_t mode = exists ? (old.st_mode & 07777) : newFileMode();
  int error = writeAll(fd, bytes, fault);
  if (error == 0 && exists) (void)!::fchown(fd, old.st_uid, old.st_gid);
  if (error == 0 && ::fchmod(fd, mode) != 0) error = errno;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    fail(path, error);
  }

  // Make the rename itself durable. The new content is already in place, so a failure here
  // changes nothing the user could act on.
  const int directory = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    ::fsync(directory);
    ::close(directory);
  }
}

}  // namespace korvale::platform
