#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/byte_source.h"
#include "state/platform/test_seams.h"

// The few operating-system services the state file needs, one implementation per platform
// (posix.cpp, windows.cpp). Paths and texts are UTF-8 here.
namespace korvale::platform {

// The directory of the running executable, symlinks resolved, without a trailing separator
// except at a root ("/", "C:\"): "/opt/korvale/bin/korvale" -> "/opt/korvale/bin". Throws a
// RuntimeError when the system cannot tell.
std::string executableDirectory();

// For an installed copy of the program (on Linux, one with share/korvale/installed-copy beside its
// bin folder), the per-user folder it keeps its inputs in: $XDG_CONFIG_HOME/korvale when that is
// an absolute path, else ~/.config/korvale. Nothing for a copy that keeps them beside itself, as
// every copy on Windows does. Throws a RuntimeError when the user's home cannot be told.
std::optional<std::string> installedCopyStateDirectory(const std::string& programDirectory);

// '/' on Linux, '\\' on Windows.
char pathSeparator();

// Between the program's UTF-8 and the 8-bit code page the state file is kept in: the ANSI code
// page on Windows (a character it cannot hold becomes its replacement character, "?"), UTF-8
// itself on Linux.
std::string toFileCodePage(std::string_view utf8);
#ifdef _WIN32
inline constexpr bool kFileCodePageIsUtf8 = false;
#else
inline constexpr bool kFileCodePageIsUtf8 = true;  // no conversion, and so no copy, is needed
#endif
std::string fromFileCodePage(std::string bytes);

// An open regular file, read front to back, never beyond the size it had when opened. Closed when
// destroyed.
class InputFile : public ByteSource {
 public:
  // nullptr when nothing stands at the path. Whatever stands there and is not read throws a
  // RuntimeError that names the path and says why ("Cannot restore "/opt/k/Rede.txt": Permission
  // denied"): a file the user may not read, a link another user owns on the way, or what is not a
  // regular file (a directory, a FIFO, a device: such a path fails at once, it never blocks), or,
  // in a folder other users may write to, a file not of the user's own. Anywhere else, whoever
  // owns a readable file, it is read.
  static std::unique_ptr<InputFile> open(const std::string& path);
};

// The folder the state file stands in (after the user's own links), held open from start-up: the
// close saves into that folder or nowhere, so a folder moved away meanwhile and another put under
// its name never receives the inputs. nullptr when the folder is not there (yet).
class HeldFolder {
 public:
  virtual ~HeldFolder() = default;
  static std::shared_ptr<const HeldFolder> holdFolderOf(const std::string& path) noexcept;
};

// A file's bytes as the pieces they are written from, in order: a text of many megabytes is
// written where it stands rather than copied into one buffer first.
using FileBytes = std::vector<std::string_view>;

// Hands `writeSome` (data, size -> 0 or an error code) the bytes that get written before `fault`
// strikes: all of them without a fault (or with one set beyond their end), the first
// `afterBytes` otherwise; then the fault's error, or 0.
template <class WriteSome>
int writeUntilFault(const FileBytes& bytes, const WriteFault* fault, WriteSome writeSome) {
  std::size_t total = 0;
  for (std::string_view piece : bytes) total += piece.size();
  const bool strikes = fault != nullptr && fault->afterBytes <= total;
  std::size_t left = strikes ? fault->afterBytes : total;
  for (std::string_view piece : bytes) {
    const std::string_view part = piece.substr(0, std::min(left, piece.size()));
    left -= part.size();
    if (const int error = part.empty() ? 0 : writeSome(part.data(), part.size())) return error;
  }
  return strikes ? fault->systemError : 0;
}

// Replaces the file at `path` with `bytes` so that it holds either its old content or the whole
// new one, never anything in between: the bytes go to a temporary file in the same directory,
// are flushed to the disk, and the temporary file is then renamed over `path`. On failure the
// temporary file is removed, `path` is left as it was, and a RuntimeError names the path and the
// system's reason ("Permission denied", "No space left on device").
// Only a regular file is replaced, and a symbolic link is followed only when the user or the
// administrator owns it (its target is then replaced, and created when missing); anything else is
// refused and left as it is. The system's permissions decide, except in a folder that other users
// may write to: there a file of another user's is refused, and a file with several names is
// replaced, never rewritten, so that a name planted there cannot lead the save into a file of the
// user's elsewhere. In a folder only the user and the administrator write to, a file with several
// names, or one in a folder that takes no new file, is rewritten where it stands (every name sees
// the new inputs), its old bytes written back should that fail.
// With `createFolders`, missing folders on the way are made for the owner alone. With `held`, the
// save goes into that folder, and fails if the path no longer leads there.
void replaceFileAtomically(const std::string& path, const FileBytes& bytes,
                           const WriteFault* fault = nullptr, bool createFolders = false,
                           const HeldFolder* held = nullptr);

}  // namespace korvale::platform
