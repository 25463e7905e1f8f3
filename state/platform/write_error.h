#pragma once

#include <string>

#include "core/runtime_error.h"

namespace korvale::platform {

enum class WriteFailure { kDiskFull, kPermissionDenied, kOther };

// The error a failed save raises: "Cannot save "/home/ana/Rede.txt": Permission denied", with the
// error number users of such tools know for the kind of failure (61, 70, or 75 for the rest).
inline RuntimeError writeError(WriteFailure kind, const std::string& path,
                               const std::string& reason) {
  const int number = kind == WriteFailure::kDiskFull           ? kDiskFullErrorNumber
                     : kind == WriteFailure::kPermissionDenied ? kPermissionDeniedErrorNumber
                                                               : kFileAccessErrorNumber;
  return RuntimeError(number, "Cannot save \"" + path + "\": " + reason);
}

// The executable's own path could not be had: the state file has no place, and it is never put
// in the current directory instead.
inline RuntimeError programDirectoryUnknown(const std::string& reason) {
  return RuntimeError(kFileAccessErrorNumber, "Cannot find the program's directory: " + reason);
}

}  // namespace korvale::platform
