#pragma once

#include <cstddef>
#include <optional>

// Switches the tests turn to reach what the machine they run on cannot make.
namespace korvale::platform {

// A write that fails with `systemError` (an errno value, or a Windows error code) once
// `afterBytes` bytes have gone to the temporary file. With noTemporaryFile, the folder also takes
// no new file, as one the user may not write to.
struct WriteFault {
  std::size_t afterBytes = 0;
  int systemError = 0;
  bool noTemporaryFile = false;
};

namespace seams {

// While set, every save of a kept file (Rede.txt, Drive.txt) meets this fault.
inline std::optional<WriteFault> writeFault;

// Windows: every file is taken for a symbolic link, so that the check of a link's owner runs on
// it (Wine makes no links).
inline bool takeFilesForLinks = false;

// Windows: every file is taken for a device or a pipe, so that the check for a file on a disk
// runs on it (Wine tells nothing of any other kind of file, and so never reaches that check).
inline bool takeFilesForDevices = false;

}  // namespace seams
}  // namespace korvale::platform
