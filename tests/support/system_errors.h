#pragma once

// The system's codes for a full disk and a refusal, as a save's injected fault carries them.
#ifdef _WIN32
#include <windows.h>
namespace korvale::testing {
inline constexpr int kDiskFull = ERROR_DISK_FULL;
inline constexpr int kAccessDenied = ERROR_ACCESS_DENIED;
}  // namespace korvale::testing
#else
#include <cerrno>
namespace korvale::testing {
inline constexpr int kDiskFull = ENOSPC;
inline constexpr int kAccessDenied = EACCES;
}  // namespace korvale::testing
#endif
