#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/runtime_error.h"
#include "state/kept_file.h"
#include "state/platform/file_system.h"
#include "state/saved_inputs.h"

namespace korvale {

// The directory that holds the program's executable, e.g. "/opt/korvale" or "C:\Tools". Throws a
// RuntimeError when the system cannot tell; the current directory is never used instead.
std::string ProgramDir();

// Where a copy of the program keeps its inputs. A copy run from its build tree or from a folder of
// its own, and every copy on Windows, keeps them beside its executable. An installed Linux copy,
// marked by share/korvale/installed-copy beside its bin folder, keeps them in the user's
// configuration folder, $XDG_CONFIG_HOME/korvale (~/.config/korvale by default), which the first
// save creates: "/usr/bin" -> {"/home/ana/.config/korvale", true}. Decided by how the copy was
// installed, never by whether a folder happens to be writable, and never the current directory.
// Throws a RuntimeError when the place cannot be told.
struct StateLocation {
  std::string directory;
  bool createdOnSave = false;
};
StateLocation StateLocationFor(const std::string& programDirectory);

// The state file "Rede.txt" in a directory: "/opt/korvale" -> "/opt/korvale/Rede.txt". As on
// Windows, a root directory gets a doubled separator ("C:\\Rede.txt"), which every platform reads
// as the plain path.
std::string StatePath(std::string_view directory);

// The state file of one directory: the program's own by default, another one in tests.
class StateFile {
 public:
  // The program's own, where StateLocationFor puts it. Should that place be unknown, reading
  // finds nothing and writing raises that error.
  StateFile();
  // The one in a given directory.
  explicit StateFile(std::string_view directory);
  // The one of a copy of the program whose executable is in `programDirectory`.
  static StateFile ofProgramIn(const std::string& programDirectory);

  const std::string& path() const { return file_.path(); }

  // Both saved texts, or nothing when the file is missing, unreadable, not a regular file, or
  // ends before its second field. Never throws; the file is closed on every path. A file that
  // stands there but could not be read at all (refused, not a regular file, a link of another
  // user's) is told in `whyNot`, so that nobody types inputs that cannot be kept; a missing file
  // or one with fewer than two fields is not.
  std::optional<SavedInputs> ReadState(
      std::optional<RuntimeError>* whyNot = nullptr) const noexcept;

  // Replaces the file with the two texts, atomically: on any failure the previous file stays as
  // it was and a RuntimeError names the path and the reason.
  void WriteState(std::string_view teethText, std::string_view pitchText) const;

 private:
  explicit StateFile(KeptFile file) : file_(std::move(file)) {}

  KeptFile file_;
};

}  // namespace korvale
