#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/runtime_error.h"
#include "state/platform/file_system.h"
#include "state/saved_inputs.h"

namespace korvale {

// The directory that holds the program's executable, e.g. "/opt/korvale" or "C:\Tools". Throws a
// RuntimeError when the system cannot tell; the current directory is never used instead.
std::string ProgramDir();

// The state file "Rede.txt" in a directory: "/opt/korvale" -> "/opt/korvale/Rede.txt". As on
// Windows, a root directory gets a doubled separator ("C:\\Rede.txt"), which every platform reads
// as the plain path.
std::string StatePath(std::string_view directory);
std::string StatePath();

// The state file of one directory: the program's own by default, another one in tests.
class StateFile {
 public:
  // The program's own. Should its directory be unknown, reading finds nothing and writing raises
  // that error.
  StateFile();
  explicit StateFile(std::string_view directory);

  const std::string& path() const { return path_; }

  // Both saved texts, or nothing when the file is missing, unreadable, not a regular file, or
  // ends before its second field. Never throws; the file is closed on every path.
  std::optional<SavedInputs> ReadState() const noexcept;

  // Replaces the file with the two texts, atomically: on any failure the previous file stays as
  // it was and a RuntimeError names the path and the reason.
  void WriteState(std::string_view teethText, std::string_view pitchText) const;

  // Test seam: from now on every WriteState fails as described.
  void injectWriteFault(platform::WriteFault fault) { fault_ = fault; }

 private:
  std::string path_;
  std::optional<RuntimeError> noPlace_;
  std::optional<platform::WriteFault> fault_;
};

// The program's own state file, beside its executable.
std::optional<SavedInputs> ReadState() noexcept;
void WriteState(std::string_view teethText, std::string_view pitchText);

}  // namespace korvale
