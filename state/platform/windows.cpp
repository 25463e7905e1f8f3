#include <windows.h>

#include <string>

#include "state/platform/file_system.h"
#include "state/platform/leftovers.h"
#include "state/platform/windows_text.h"
#include "state/platform/write_error.h"

namespace korvale::platform {
namespace {

constexpr DWORD kReadChunk = 4096;

class WindowsInputFile : public InputFile {
 public:
  explicit WindowsInputFile(HANDLE file) : file_(file) {}
  ~WindowsInputFile() override { CloseHandle(file_); }
  WindowsInputFile(const WindowsInputFile&) = delete;
  WindowsInputFile& operator=(const WindowsInputFile&) = delete;

  int next() override {
    if (position_ == filled_) {
      DWORD got = 0;
      if (!ReadFile(file_, buffer_, kReadChunk, &got, nullptr) || got == 0) return -1;
      filled_ = got;
      position_ = 0;
    }
    return static_cast<unsigned char>(buffer_[position_++]);
  }

 private:
  HANDLE file_;
  char buffer_[kReadChunk];
  DWORD position_ = 0;
  DWORD filled_ = 0;
};

WriteFailure classify(DWORD error) {
  if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return WriteFailure::kDiskFull;
  if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
      error == ERROR_SHARING_VIOLATION) {
    return WriteFailure::kPermissionDenied;
  }
  return WriteFailure::kOther;
}

// The system's own text for an error code, without its closing period and line end.
std::string systemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length > 0 ? std::wstring(text, length) : std::wstring();
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                              message.back() == L'.' || message.back() == L' ')) {
    message.pop_back();
  }
  if (message.empty()) return "System error " + std::to_string(error);
  return fromWide(message);
}

[[noreturn]] void fail(const std::string& path, DWORD error) {
  throw writeError(classify(error), path, systemMessage(error));
}

// A name beside the target that nothing else uses: "Rede.txt.tmp-<process>-<n>".
HANDLE createTemporary(const std::wstring& target, std::wstring& name) {
  for (unsigned attempt = 0;; ++attempt) {
    name = target + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(attempt);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS || attempt > 100) {
      return file;
    }
  }
}

DWORD writeAll(HANDLE file, std::string_view bytes, const WriteFault* fault) {
  const std::string_view part = bytesBeforeFault(bytes, fault);
  std::size_t written = 0;
  while (written < part.size()) {
    DWORD done = 0;
    const auto chunk = static_cast<DWORD>(part.size() - written);
    if (!WriteFile(file, part.data() + written, chunk, &done, nullptr)) return GetLastError();
    written += done;
  }
  return faultStrikes(bytes, fault) ? static_cast<DWORD>(fault->systemError) : ERROR_SUCCESS;
}

// Writes all of `bytes` from the file's start, cutting off what stood after them.
DWORD writeFromStart(HANDLE file, std::string_view bytes, const WriteFault* fault) {
  if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
      !SetEndOfFile(file)) {
    return GetLastError();
  }
  return writeAll(file, bytes, fault);
}

// The fallback where the folder takes no new file: the file is truncated and written where it
// stands. Not atomic, so its old bytes are kept in memory and written back should this fail.
void rewriteInPlace(const std::wstring& target, const std::string& path, std::string_view bytes,
                    const WriteFault* fault) {
  HANDLE file = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) fail(path, GetLastError());
  std::string oldBytes;
  char chunk[kReadChunk];
  for (DWORD got = 0;; oldBytes.append(chunk, got)) {
    if (!ReadFile(file, chunk, kReadChunk, &got, nullptr)) {
      const DWORD error = GetLastError();
      CloseHandle(file);
      fail(path, error);
    }
    if (got == 0) break;
  }
  DWORD error = writeFromStart(file, bytes, fault);
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
  if (error != ERROR_SUCCESS) {
    if (writeFromStart(file, oldBytes, nullptr) == ERROR_SUCCESS) FlushFileBuffers(file);
    CloseHandle(file);
    fail(path, error);
  }
  CloseHandle(file);
}

}  // namespace

void removeLeftoverTemporaries(const std::string& target) noexcept {
  // A file time counts 100-nanosecond steps; a younger file may be another copy's save under way.
  constexpr ULONGLONG kLeftoverAge = 60ULL * 10000000ULL;
  try {
    const std::wstring wide = toWide(target);
    const std::wstring directory = wide.substr(0, wide.find_last_of(L"\\/") + 1);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((wide + L".tmp-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    FILETIME nowTime{};
    GetSystemTimeAsFileTime(&nowTime);
    const auto ticks = [](const FILETIME& time) {
      return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    do {
      const bool plainFile =
          (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
      if (plainFile && ticks(nowTime) - ticks(found.ftLastWriteTime) >= kLeftoverAge) {
        DeleteFileW((directory + found.cFileName).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  } catch (...) {
    // Tidying up is a courtesy; the save goes on without it.
  }
}

std::string executableDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw programDirectoryUnknown(systemMessage(GetLastError()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) throw programDirectoryUnknown("no directory in the path");
  // "C:\Korvale.exe" keeps its root separator: "C:\".
  const bool root = separator == 2 && path[1] == L':';
  return fromWide(path.substr(0, root ? separator + 1 : separator));
}

// Every copy on Windows keeps its inputs beside Korvale.exe.
std::optional<std::string> installedCopyStateDirectory(const std::string&) {
  return std::nullopt;
}

// Never needed: every copy on Windows keeps its inputs beside Korvale.exe, in a folder that is
// there.
void createDirectories(const std::string&, const std::string&) {}
char pathSeparator() {
  return '\\';
}

std::string toFileCodePage(std::string_view utf8) {
  return toCodePage(utf8, CP_ACP);
}
std::string fromFileCodePage(std::string_view bytes) {
  return fromCodePage(bytes, CP_ACP);
}

std::unique_ptr<InputFile> InputFile::open(const std::string& path) noexcept {
  HANDLE file = CreateFileW(
      toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return nullptr;
  }
  try {
    return std::make_unique<WindowsInputFile>(file);
  } catch (...) {
    CloseHandle(file);
    return nullptr;
  }
}

void replaceFileAtomically(const std::string& path, std::string_view bytes,
                           const WriteFault* fault) {
  const std::wstring target = toWide(path);
  removeLeftoverTemporaries(path);

  // What a plain write would refuse is refused here too: a read-only file, or one the user may
  // not read or write, is never replaced behind the user's back.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    fail(path, ERROR_ACCESS_DENIED);
  }
  bool exists = false;
  HANDLE probe = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    exists = true;
    CloseHandle(probe);
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND) {
    fail(path, GetLastError());
  }

  std::wstring temporary;
  HANDLE file = fault != nullptr && fault->noTemporaryFile
                    ? (SetLastError(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE)
                    : createTemporary(target, temporary);
  if (file == INVALID_HANDLE_VALUE) {
    // No new file can be made in the folder, but the file itself may be written.
    if (exists && GetLastError() == ERROR_ACCESS_DENIED) {
      return rewriteInPlace(target, path, bytes, fault);
    }
    fail(path, GetLastError());
  }

  DWORD error = writeAll(file, bytes, fault);
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS && !MoveFileExW(temporary.c_str(), target.c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temporary.c_str());
    fail(path, error);
  }
}

}  // namespace korvale::platform
