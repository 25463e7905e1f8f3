#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/runtime_error.h"
#include "state/platform/file_system.h"

namespace korvale {

// The path of the file `name` in a directory: ("/opt/korvale", "Rede.txt") ->
// "/opt/korvale/Rede.txt". As on Windows, a root directory gets a doubled separator.
std::string KeptFilePath(std::string_view directory, std::string_view name);

// A file the program keeps from one run to the next ("Rede.txt", "Drive.txt"), in the folder
// StateLocationFor gives, that folder held from the moment this is made, at start-up, so that
// the save goes there or nowhere.
class KeptFile {
 public:
  // The file `name` in a given directory.
  KeptFile(std::string_view directory, std::string_view name);
  // The file `name` of a copy of the program whose executable is in `programDirectory`. Should
  // that place be unknown, opening finds nothing and replacing raises that error.
  static KeptFile ofProgramIn(const std::string& programDirectory, std::string_view name);
  // The same for the running program.
  static KeptFile ofProgram(std::string_view name);

  const std::string& path() const { return path_; }

  // nullptr when nothing stands there or the place is unknown; throws the RuntimeError of a file
  // that stands there but cannot be read, as platform::InputFile::open does.
  std::unique_ptr<platform::InputFile> open() const;

  // Replaces the file with these bytes, atomically, with every rule of replaceFileAtomically.
  void replace(const platform::FileBytes& bytes) const;

 private:
  std::string path_;
  std::shared_ptr<const platform::HeldFolder> folder_;
  bool createsDirectory_ = false;
  std::optional<RuntimeError> noPlace_;
};

}  // namespace korvale
