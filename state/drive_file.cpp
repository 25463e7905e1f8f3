#include "state/drive_file.h"

#include <new>

#include "state/drive_format.h"

namespace korvale {
namespace {

constexpr std::string_view kName = "Drive.txt";
constexpr int kBadFileFormat = 321;  // "Bad file format"
// Room for every key at its longest text (four bytes a character, escapes included): a file
// beyond it is not a drive file, and is not read whole.
constexpr std::size_t kLargestFile = 64 * 1024;

}  // namespace

DriveFile::DriveFile() : file_(KeptFile::ofProgram(kName)) {}

DriveFile::DriveFile(std::string_view directory) : file_(directory, kName) {}

DriveFile DriveFile::ofProgramIn(const std::string& programDirectory) {
  return DriveFile(KeptFile::ofProgramIn(programDirectory, kName));
}

std::optional<DriveInputs> DriveFile::ReadDrive(
    std::optional<RuntimeError>* whyNot) const noexcept {
  try {
    const std::unique_ptr<platform::InputFile> file = file_.open();
    if (!file) return std::nullopt;
    std::string text;
    for (std::string_view chunk = file->nextChunk(); !chunk.empty(); chunk = file->nextChunk()) {
      text += chunk;
      if (text.size() > kLargestFile) break;
    }
    std::string reason = "it is larger than a drive file can be";
    std::optional<DriveInputs> inputs;
    if (text.size() <= kLargestFile) {
      reason.clear();
      inputs = parseDriveFile(text, &reason);
    }
    // A file read but for a line it does not understand is told too: the rest is shown.
    if (whyNot != nullptr && !reason.empty()) {
      *whyNot = RuntimeError(kBadFileFormat, "Cannot restore \"" + path() + "\": " + reason);
    }
    return inputs;
  } catch (const RuntimeError& error) {
    if (whyNot != nullptr) *whyNot = error;
  } catch (const std::bad_alloc&) {
  }
  return std::nullopt;
}

void DriveFile::WriteDrive(const DriveInputs& inputs) const {
  const std::string text = formatDriveFile(inputs);
  file_.replace({text});
}

}  // namespace korvale
