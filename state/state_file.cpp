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

std::string StatePath() {
  return StatePath(ProgramDir());
}

StateFile::StateFile() {
  try {
    path_ = StatePath(ProgramDir());
  } catch (const RuntimeError& error) {
    noPlace_ = error;
  }
}

StateFile::StateFile(std::string_view directory) : path_(StatePath(directory)) {}

std::optional<SavedInputs> StateFile::ReadState() const noexcept {
  if (noPlace_) return std::nullopt;
  try {
    const std::unique_ptr<platform::InputFile> file = platform::InputFile::open(path_);
    if (!file) return std::nullopt;
    std::optional<SavedInputs> inputs = parseStateFile(*file);
    if (!inputs) return std::nullopt;
    return SavedInputs{platform::fromFileCodePage(inputs->teethText),
                       platform::fromFileCodePage(inputs->pitchText)};
  } catch (const std::bad_alloc&) {
    // A field too long to hold counts as an unreadable file.
    return std::nullopt;
  }
}

void StateFile::WriteState(std::string_view teethText, std::string_view pitchText) const {
  if (noPlace_) throw *noPlace_;
  const std::string bytes =
      formatStateFile(platform::toFileCodePage(teethText), platform::toFileCodePage(pitchText));
  platform::replaceFileAtomically(path_, bytes, fault_ ? &*fault_ : nullptr);
}

std::optional<SavedInputs> ReadState() noexcept {
  return StateFile().ReadState();
}

void WriteState(std::string_view teethText, std::string_view pitchText) {
  StateFile().WriteState(teethText, pitchText);
}

}  // namespace korvale
