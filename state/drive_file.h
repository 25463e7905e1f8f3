#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/runtime_error.h"
#include "report/drive_inputs.h"
#include "state/kept_file.h"

namespace korvale {

// The belt-drive window's file "Drive.txt", beside Rede.txt and kept by the same rules.
class DriveFile {
 public:
  // The program's own.
  DriveFile();
  // The one in a given directory.
  explicit DriveFile(std::string_view directory);
  static DriveFile ofProgramIn(const std::string& programDirectory);

  const std::string& path() const { return file_.path(); }

  // The inputs, or nothing: silently when there is no file, with the reason in `whyNot` for a
  // file that stands there and cannot be read or holds something else ("Cannot restore
  // "…/Drive.txt": line 2 has no "=""). Never throws.
  std::optional<DriveInputs> ReadDrive(
      std::optional<RuntimeError>* whyNot = nullptr) const noexcept;

  // Replaces the file atomically; a RuntimeError names the path and the reason on failure.
  void WriteDrive(const DriveInputs& inputs) const;

 private:
  explicit DriveFile(KeptFile file) : file_(std::move(file)) {}

  KeptFile file_;
};

}  // namespace korvale
