#include "state/kept_file.h"

#include "state/state_file.h"

namespace korvale {

std::string KeptFilePath(std::string_view directory, std::string_view name) {
  return std::string(directory) + platform::pathSeparator() + std::string(name);
}

KeptFile::KeptFile(std::string_view directory, std::string_view name)
    : path_(KeptFilePath(directory, name)), folder_(platform::HeldFolder::holdFolderOf(path_)) {}

KeptFile KeptFile::ofProgramIn(const std::string& programDirectory, std::string_view name) {
  KeptFile file{std::string_view(), name};
  try {
    StateLocation location = StateLocationFor(programDirectory);
    file = KeptFile(location.directory, name);
    file.createsDirectory_ = location.createdOnSave;
  } catch (const RuntimeError& error) {
    file.noPlace_ = error;
  }
  return file;
}

KeptFile KeptFile::ofProgram(std::string_view name) {
  try {
    return ofProgramIn(ProgramDir(), name);
  } catch (const RuntimeError& error) {
    KeptFile file{std::string_view(), name};
    file.noPlace_ = error;
    return file;
  }
}

std::unique_ptr<platform::InputFile> KeptFile::open() const {
  if (noPlace_) return nullptr;
  return platform::InputFile::open(path_);
}

void KeptFile::replace(const platform::FileBytes& bytes) const {
  if (noPlace_) throw *noPlace_;
  const std::optional<platform::WriteFault>& fault = platform::seams::writeFault;
  platform::replaceFileAtomically(path_, bytes, fault ? &*fault : nullptr, createsDirectory_,
                                  folder_.get());
}

}  // namespace korvale
