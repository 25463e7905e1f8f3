#pragma once

#include <string>

#include "core/runtime_error.h"

namespace korvale::platform {

enum class WriteFailure { kDiskFull, kPermissionDenied, kOther };

// The error a failed save raises: "Cannot save "/home/ana/Rede.txt": Permission denied", with the
// error number users of such tools know for the kind of failure (61, 70, or 75 for the rest).
// A file that stands there but cannot be restored at start-up says "Cannot restore" instead.
inline RuntimeError fileError(WriteFailure kind, const char* doing, const std::string& path,
                              const std::string& reason) {
  const int number = kind == WriteFailure::kDiskFull           ? kDiskFullErrorNumber
                     : kind == WriteFailure::kPermissionDenied ? kPermissionDeniedErrorNumber
                                                               : kFileAccessErrorNumber;
  return RuntimeError(number, std::string("Cannot ") + doing + " \"" + path + "\": " + reason);
}
inline RuntimeError writeError(WriteFailure kind, const std::string& path,
                               const std::string& reason) {
  return fileError(kind, "save", path, reason);
}
inline RuntimeError readError(WriteFailure kind, const std::string& path,
                              const std::string& reason) {
  return fileError(kind, "restore", path, reason);
}

// The folder the inputs were read from at start-up is gone from its place: the save goes nowhere
// rather than into whatever now stands under that name.
inline RuntimeError folderMovedError(const std::string& path) {
  return writeError(WriteFailure::kOther, path,
                    "its folder was moved or removed while Korvale was open");
}

// The executable's own path could not be had: the state file has no place, and it is never put
// in the current directory instead.
inline RuntimeError programDirectoryUnknown(const std::string& reason) {
  return RuntimeError(kFileAccessErrorNumber, "Cannot find the program's directory: " + reason);
}

}  // namespace korvale::platform
