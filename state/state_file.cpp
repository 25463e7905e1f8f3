#include "state/state_file.h"

#include <new>

#include "state/state_format.h"

namespace korvale {

std::string ProgramDir() {
  return platform::executableDirectory();
}

std::string StatePath(std::string_view directory) {
  return KeptFilePath(directory, "Rede.txt");
}

StateLocation StateLocationFor(const std::string& programDirectory) {
  if (std::optional<std::string> installed =
          platform::installedCopyStateDirectory(programDirectory)) {
    return {std::move(*installed), true};
  }
  return {programDirectory, false};
}

StateFile::StateFile() : file_(KeptFile::ofProgram("Rede.txt")) {}

StateFile::StateFile(std::string_view directory) : file_(directory, "Rede.txt") {}

StateFile StateFile::ofProgramIn(const std::string& programDirectory) {
  return StateFile(KeptFile::ofProgramIn(programDirectory, "Rede.txt"));
}

std::optional<SavedInputs> StateFile::ReadState(
    std::optional<RuntimeError>* whyNot) const noexcept {
  try {
    const std::unique_ptr<platform::InputFile> file = file_.open();
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
  // The texts are written where they stand when the file's code page is theirs (UTF-8).
  std::string teeth, pitch;
  if (!platform::kFileCodePageIsUtf8) {
    teethText = teeth = platform::toFileCodePage(teethText);
    pitchText = pitch = platform::toFileCodePage(pitchText);
  }
  file_.replace(stateFilePieces(teethText, pitchText));
}

}  // namespace korvale
