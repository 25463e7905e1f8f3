#include "state/state_file.h"

#include <new>

#include "state/state_format.h"

namespace korvale {

std::string ProgramDir() {
  return platform::executableDirectory();
}

std::string StatePath(std::string_view directory) {
  std::string path(directory);
  path += platform::pathSeparator();
  path += "Rede.txt";
  return path;
}

StateLocation StateLocationFor(const std::string& programDirectory) {
  if (std::optional<std::string> installed =
          platform::installedCopyStateDirectory(programDirectory)) {
    return {std::move(*installed), true};
  }
  return {programDirectory, false};
}

std::string StatePath() {
  return StatePath(StateLocationFor(ProgramDir()).directory);
}

StateFile::StateFile() {
  try {
    *this = ofProgramIn(ProgramDir());
  } catch (const RuntimeError& error) {
    noPlace_ = error;
  }
}

StateFile::StateFile(std::string_view directory)
    : path_(StatePath(directory)), folder_(platform::HeldFolder::holdFolderOf(path_)) {}

StateFile StateFile::ofProgramIn(const std::string& programDirectory) {
  StateFile file{std::string_view()};
  try {
    StateLocation location = StateLocationFor(programDirectory);
    file = StateFile(location.directory);
    file.createsDirectory_ = location.createdOnSave;
  } catch (const RuntimeError& error) {
    file.noPlace_ = error;
  }
  return file;
}

std::optional<SavedInputs> StateFile::ReadState(
    std::optional<RuntimeError>* whyNot) const noexcept {
  if (noPlace_) return std::nullopt;
  try {
    const std::unique_ptr<platform::InputFile> file = platform::InputFile::open(path_);
    if (!file) return std::nullopt;
    bool unicode = false;
    std::optional<SavedInputs> inputs = parseStateFile(*file, &unicode);
    if (!inputs || unicode) return inputs;
    return SavedInputs{platform::fromFileCodePage(std::move(inputs->teethText)),
                       platform::fromFileCodePage(std::move(inputs->pitchText))};
  } catch (const RuntimeError& error) {
    if (whyNot != nullptr) *whyNot = error;
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    // A field too long to hold counts as an unreadable file.
    return std::nullopt;
  }
}

void StateFile::WriteState(std::string_view teethText, std::string_view pitchText) const {
  if (noPlace_) throw *noPlace_;
  // The texts are written where they stand when the file's code page is theirs (UTF-8).
  std::string teeth, pitch;
  if (!platform::kFileCodePageIsUtf8) {
    teethText = teeth = platform::toFileCodePage(teethText);
    pitchText = pitch = platform::toFileCodePage(pitchText);
  }
  platform::replaceFileAtomically(path_, stateFilePieces(teethText, pitchText),
                                  fault_ ? &*fault_ : nullptr, createsDirectory_, folder_.get());
}

}  // namespace korvale
