#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "state/platform/file_system.h"
#include "state/platform/posix_own_place.h"
#include "state/platform/temporary_name.h"
#include "state/platform/write_error.h"

namespace korvale::platform {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;

class PosixInputFile : public InputFile {
 public:
  PosixInputFile(Descriptor file, off_t size) : file_(std::move(file)), left_(size) {}

  std::size_t sizeHint() const override { return static_cast<std::size_t>(left_); }

  std::string_view nextChunk() override {
    // Never more than the file held when it was opened: one that grows meanwhile cannot make the
    // read go on without end.
    const auto wanted = static_cast<std::size_t>(std::min<off_t>(left_, sizeof buffer_));
    ssize_t got = 0;
    do {
      got = wanted == 0 ? 0 : ::read(file_.get(), buffer_, wanted);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return {};
    left_ -= got;
    return {buffer_, static_cast<std::size_t>(got)};
  }

 private:
  Descriptor file_;
  off_t left_;
  char buffer_[kReadChunk];
};

WriteFailure classify(int error) {
  if (error == ENOSPC || error == EDQUOT) return WriteFailure::kDiskFull;
  if (error == EACCES || error == EPERM || error == EROFS) return WriteFailure::kPermissionDenied;
  return WriteFailure::kOther;
}

// "Permission denied", or with what it meant here: "Permission denied (a link there belongs to
// another user)". Without an errno value the detail alone is the reason.
std::string reasonFor(int error, const std::string& detail) {
  std::string reason = error == 0 ? detail : std::strerror(error);
  if (error != 0 && !detail.empty()) reason += " (" + detail + ")";
  return reason;
}

[[noreturn]] void fail(const std::string& path, int error, const std::string& detail = {}) {
  throw writeError(classify(error), path, reasonFor(error, detail));
}

[[noreturn]] void failToRead(const std::string& path, int error, const std::string& detail = {}) {
  throw readError(classify(error), path, reasonFor(error, detail));
}

// Whether users other than the user and root may put names into a folder: its owner is someone
// else, or its group or everyone may write to it (sticky or not). What stands in such a folder
// may have been planted there.
bool othersMayWrite(int folder) {
  struct stat info {};
  if (::fstat(folder, &info) != 0) return true;
  return (info.st_uid != ::geteuid() && info.st_uid != 0) || (info.st_mode & (S_IWGRP | S_IWOTH));
}

class PosixHeldFolder : public HeldFolder {
 public:
  PosixHeldFolder(Descriptor folder, const struct stat& info)
      : folder_(std::move(folder)), info_(info) {}
  // Whether `folder` is the one held: the same file system and inode. The held descriptor keeps
  // the inode alive, so a new folder can never come to share its number.
  bool isHeldFolder(int folder) const {
    struct stat info {};
    return ::fstat(folder, &info) == 0 && info.st_dev == info_.st_dev &&
           info.st_ino == info_.st_ino;
  }

 private:
  Descriptor folder_;
  struct stat info_;
};

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
int writeAll(int fd, const FileBytes& bytes, const WriteFault* fault) {
  return writeUntilFault(bytes, fault, [fd](const char* data, std::size_t size) {
    for (std::size_t written = 0; written < size;) {
      const ssize_t done = ::write(fd, data + written, size - written);
      if (done < 0 && errno == EINTR) continue;
      if (done < 0) return errno;
      written += static_cast<std::size_t>(done);
    }
    return 0;
  });
}

// A new temporary file beside the one it will replace, created for this process alone (O_EXCL,
// 0600), under a name cleaning up will recognise.
Descriptor createTemporary(const OwnPlace& place, std::string& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[kTemporaryRandomLetters];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) break;
    temporary = temporaryName(std::string_view(place.name), random);
    Descriptor file(::openat(place.folder.get(), temporary.c_str(),
                             O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file || errno != EEXIST) return file;
  }
  return Descriptor();
}

// How old a temporary file must be before it counts as left behind: a younger one may belong to
// a save that another running copy is making at this moment.
constexpr time_t kLeftoverAgeSeconds = 60;

// Removes what a save killed half-way left in the folder: only temporary files of ours, regular
// files of the user's own, older than a minute. Whatever cannot be listed or removed stays.
void removeLeftoverTemporaries(const OwnPlace& place) noexcept {
  const int listingFd = ::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listingFd < 0) return;
  DIR* listing = ::fdopendir(listingFd);
  if (listing == nullptr) {
    ::close(listingFd);
    return;
  }
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(listing)) {
    if (!isTemporaryName(std::string_view(entry->d_name), std::string_view(place.name))) continue;
    struct stat info {};
    if (::fstatat(listingFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode) && ownedByUser(info) && now - info.st_mtime >= kLeftoverAgeSeconds) {
      ::unlinkat(listingFd, entry->d_name, 0);
    }
  }
  ::closedir(listing);
}

// Writes all of `bytes` from the file's start and cuts off whatever stood after them, or returns
// the errno of the failure.
int writeFromStart(int fd, const FileBytes& bytes, const WriteFault* fault) {
  if (::lseek(fd, 0, SEEK_SET) != 0 || ::ftruncate(fd, 0) != 0) return errno;
  return writeAll(fd, bytes, fault);
}

// Where the folder takes no new file, or the file has other names that must see the new inputs
// too, it is written where it stands. Not atomic, so its old bytes (no more than its size) are
// kept in memory and written back should this fail.
void rewriteInPlace(const Descriptor& file, const struct stat& info, const std::string& path,
                    const FileBytes& bytes, const WriteFault* fault) {
  std::string oldBytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t got = 0;
  while (got < oldBytes.size()) {
    const ssize_t done =
        ::pread(file.get(), oldBytes.data() + got, oldBytes.size() - got, static_cast<off_t>(got));
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) fail(path, errno);
    if (done == 0) break;
    got += static_cast<std::size_t>(done);
  }
  oldBytes.resize(got);
  int error = writeFromStart(file.get(), bytes, fault);
  if (error == 0 && ::fsync(file.get()) != 0) error = errno;
  if (error != 0) {
    if (writeFromStart(file.get(), {oldBytes}, nullptr) == 0) ::fsync(file.get());
    fail(path, error);
  }
}

OwnPlace findPlaceToSave(const std::string& path, bool createFolders, const HeldFolder* held) {
  const auto* heldFolder = static_cast<const PosixHeldFolder*>(held);
  try {
    OwnPlace place = findOwnPlace(path, createFolders && held == nullptr);
    if (heldFolder != nullptr && !heldFolder->isHeldFolder(place.folder.get())) {
      throw folderMovedError(path);
    }
    return place;
  } catch (const Refusal& refusal) {
    if (heldFolder != nullptr && (refusal.error == ENOENT || refusal.error == ENOTDIR)) {
      throw folderMovedError(path);
    }
    fail(path, refusal.error, refusal.detail);
  }
}

}  // namespace

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

char pathSeparator() {
  return '/';
}

std::string toFileCodePage(std::string_view utf8) {
  return std::string(utf8);
}
std::string fromFileCodePage(std::string bytes) {
  return bytes;
}

std::unique_ptr<InputFile> InputFile::open(const std::string& path) {
  OwnPlace place;
  try {
    place = findOwnPlace(path, false);
  } catch (const Refusal& refusal) {
    if (refusal.error == ENOENT) return nullptr;  // no folder, no file: a first run
    failToRead(path, refusal.error, refusal.detail);
  }
  if (!place.existing) return nullptr;
  if (!S_ISREG(place.existing->st_mode)) failToRead(path, 0, "Not a regular file");
  Descriptor file(::openat(place.folder.get(), place.name.c_str(),
                           O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
  if (!file) failToRead(path, errno == ELOOP ? EACCES : errno);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) failToRead(path, errno);
  if (!S_ISREG(info.st_mode)) failToRead(path, 0, "Not a regular file");
  // Where other users may put names, a file not of the user's own may have been planted, and the
  // save would refuse it: it is not restored either, and start-up says so.
  if (!ownedByUser(info) && othersMayWrite(place.folder.get())) {
    failToRead(path, EACCES, "the file belongs to another user");
  }
  return std::make_unique<PosixInputFile>(std::move(file), info.st_size);
}

std::shared_ptr<const HeldFolder> HeldFolder::holdFolderOf(const std::string& path) noexcept {
  try {
    OwnPlace place = findOwnPlace(path, false);
    struct stat info {};
    if (::fstat(place.folder.get(), &info) != 0) return nullptr;
    return std::make_shared<PosixHeldFolder>(std::move(place.folder), info);
  } catch (...) {
    return nullptr;
  }
}

void replaceFileAtomically(const std::string& path, const FileBytes& bytes, const WriteFault* fault,
                           bool createFolders, const HeldFolder* held) {
  const OwnPlace place = findPlaceToSave(path, createFolders, held);
  removeLeftoverTemporaries(place);
  const bool shared = othersMayWrite(place.folder.get());

  // Only a regular file is ever replaced. A device, a FIFO or a folder is refused before it is
  // opened, and what was opened is checked again on its descriptor.
  Descriptor file;
  struct stat old {};
  if (place.existing) {
    if (!S_ISREG(place.existing->st_mode)) fail(path, 0, "Not a regular file");
    if (shared && !ownedByUser(*place.existing)) {
      fail(path, EACCES, "the file belongs to another user");
    }
    // What a plain write would refuse is refused here too: a read-only file, and one the user
    // cannot read, which start-up could not restore and must not be overwritten with defaults.
    file = Descriptor(::openat(place.folder.get(), place.name.c_str(),
                               O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    if (!file) fail(path, errno == ELOOP ? EACCES : errno);
    if (::fstat(file.get(), &old) != 0) fail(path, errno);
    if (old.st_ino != place.existing->st_ino || old.st_dev != place.existing->st_dev) {
      fail(path, EACCES, "the file was replaced while it was being saved");
    }
    if (shared && !ownedByUser(old)) fail(path, EACCES, "the file belongs to another user");
    // Every name of a file with several must see the new inputs, unless a name may have been
    // planted: then the other names keep their bytes.
    if (old.st_nlink > 1 && !shared) return rewriteInPlace(file, old, path, bytes, fault);
  }

  std::string temporary;
  Descriptor fresh = fault != nullptr && fault->noTemporaryFile ? (errno = EACCES, Descriptor())
                                                                : createTemporary(place, temporary);
  if (!fresh) {
    // No new file can be made in the folder, but the file itself may be written.
    if (file && (errno == EACCES || errno == EPERM) && !(shared && old.st_nlink > 1)) {
      return rewriteInPlace(file, old, path, bytes, fault);
    }
    fail(path, errno);
  }

  // Keep the permissions and group the file had; a new file gets the usual permissions, not the
  // temporary's 0600.
  const mode_t mode = file ? (old.st_mode & 07777) : newFileMode();
  int error = writeAll(fresh.get(), bytes, fault);
  if (error == 0 && file) (void)!::fchown(fresh.get(), static_cast<uid_t>(-1), old.st_gid);
  if (error == 0 && ::fchmod(fresh.get(), mode) != 0) error = errno;
  if (error == 0 && ::fsync(fresh.get()) != 0) error = errno;
  if (::close(fresh.release()) != 0 && error == 0) error = errno;
  if (error == 0 && ::renameat(place.folder.get(), temporary.c_str(), place.folder.get(),
                               place.name.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlinkat(place.folder.get(), temporary.c_str(), 0);
    fail(path, error);
  }

  // Make the rename itself durable. The new content is already in place, so a failure here
  // changes nothing the user could act on.
  const Descriptor folder(::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder) ::fsync(folder.get());
}

}  // namespace korvale::platform
