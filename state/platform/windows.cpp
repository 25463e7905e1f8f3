#include <windows.h>

#include <aclapi.h>
#include <bcrypt.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "state/platform/file_system.h"
#include "state/platform/temporary_name.h"
#include "state/platform/test_seams.h"
#include "state/platform/write_error.h"
#include "text_encoding/utf16.h"

namespace korvale::platform {
namespace {

constexpr DWORD kReadChunk = 1 << 16;

// A handle closed when it goes.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() {
    if (*this) CloseHandle(handle_);
  }
  Handle(Handle&& other) noexcept : handle_(other.release()) {}
  Handle& operator=(Handle&& other) noexcept {
    Handle old(handle_);
    handle_ = other.release();
    return *this;
  }
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_;
};

class WindowsInputFile : public InputFile {
 public:
  WindowsInputFile(Handle file, ULONGLONG size) : file_(std::move(file)), left_(size) {}

  std::size_t sizeHint() const override { return static_cast<std::size_t>(left_); }

  std::string_view nextChunk() override {
    // Never more than the file held when it was opened.
    const auto wanted = static_cast<DWORD>(std::min<ULONGLONG>(left_, kReadChunk));
    DWORD got = 0;
    if (wanted == 0 || !ReadFile(file_.get(), buffer_, wanted, &got, nullptr) || got == 0) {
      return {};
    }
    left_ -= got;
    return {buffer_, got};
  }

 private:
  Handle file_;
  ULONGLONG left_;
  char buffer_[kReadChunk];
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

// A refusal reads as on Linux, "Permission denied", with the system's words or what it meant
// here after it: "Permission denied (Access denied)".
// What is being done when it fails: "save", or "restore" at start-up.
[[noreturn]] void fail(const std::string& path, DWORD error, const std::string& detail = {},
                       const char* doing = "save") {
  const WriteFailure kind = error == ERROR_SUCCESS ? WriteFailure::kOther : classify(error);
  std::string reason = detail.empty() ? systemMessage(error) : detail;
  if (kind == WriteFailure::kPermissionDenied) reason = "Permission denied (" + reason + ")";
  throw fileError(kind, doing, path, reason);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The user running the program, or the administrators or the system, own what is theirs to
// trust; a link anyone else made could aim a save at any file the user may write.
bool ownedByUserOrAdministrators(HANDLE object) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                      nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  bool trusted = IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                 IsWellKnownSid(owner, WinLocalSystemSid);
  HANDLE token = nullptr;
  if (!trusted && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    if (size > 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size)) {
      trusted = EqualSid(owner, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid) != FALSE;
    }
    CloseHandle(token);
  }
  LocalFree(descriptor);
  return trusted;
}

// Where a path leads: the file itself, or, through a symbolic link (a reparse point) that the
// user or the administrators own, the link's final target. A link of anyone else's is refused.
struct OwnPlace {
  std::wstring path;
  Handle file;  // open for reading and writing, or none when nothing stands there yet
  BY_HANDLE_FILE_INFORMATION info{};
};

OwnPlace findOwnPlace(const std::string& path, DWORD access, const char* doing) {
  const auto fail = [&](DWORD error, const std::string& detail = {}) {
    platform::fail(path, error, detail, doing);
  };
  OwnPlace place{toWide(path), Handle(), {}};
  Handle link(CreateFileW(place.path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, kShareAll,
                          nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!link) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return place;
    fail(error);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(link.get(), &info)) fail(GetLastError());
  const bool isLink =
      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || seams::takeFilesForLinks;
  if (isLink && !ownedByUserOrAdministrators(link.get())) {
    fail(ERROR_ACCESS_DENIED, "a link there belongs to another user");
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    fail(ERROR_SUCCESS, "Not a regular file");
  }
  place.file = Handle(CreateFileW(place.path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!place.file) {
    const DWORD error = GetLastError();
    // A link of the user's own whose target is missing: the target is created.
    if (error != ERROR_FILE_NOT_FOUND ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      fail(error);
    }
    return place;
  }
  const bool onDisk =
      GetFileType(place.file.get()) == FILE_TYPE_DISK && !seams::takeFilesForDevices;
  if (!onDisk || !GetFileInformationByHandle(place.file.get(), &place.info) ||
      (place.info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    fail(ERROR_SUCCESS, "Not a regular file");
  }
  // Decided on the open handle: the temporary file goes beside the file it reached.
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(place.file.get(), final.data(),
                                                   static_cast<DWORD>(final.size()), 0);
    if (length == 0) break;  // keep the path as given
    if (length < final.size()) {
      final.resize(length);
      place.path = final;
      break;
    }
    final.resize(length + 1);
  }
  return place;
}

// The folder a path names the file in: "C:\\k\\Rede.txt" -> "C:\\k".
std::wstring folderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

// A folder opened so that nobody can move or remove it while the handle lasts (no sharing for
// deletion), with what identifies it on its volume.
struct FolderIdentity {
  DWORD volume = 0;
  DWORD indexHigh = 0;
  DWORD indexLow = 0;
  bool operator==(const FolderIdentity& other) const {
    return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
  }
};

Handle openFolder(const std::wstring& folder, FolderIdentity& identity) {
  Handle handle(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle || !GetFileInformationByHandle(handle.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return Handle();
  }
  identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return handle;
}

class WindowsHeldFolder : public HeldFolder {
 public:
  WindowsHeldFolder(Handle folder, const FolderIdentity& identity)
      : folder_(std::move(folder)), identity_(identity) {}
  bool isHeldFolder(const std::wstring& folder) const {
    FolderIdentity now;
    return openFolder(folder, now) && now == identity_;
  }

 private:
  Handle folder_;
  FolderIdentity identity_;
};

// A name beside the target that nothing else uses, with a random part, created for this process
// alone.
Handle createTemporary(const std::wstring& target, std::wstring& name) {
  const std::size_t slash = target.find_last_of(L"\\/") + 1;
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[kTemporaryRandomLetters];
    if (!BCRYPT_SUCCESS(
            BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
      break;
    }
    name = target.substr(0, slash) + temporaryName(std::wstring_view(target).substr(slash), random);
    Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return Handle();
}

DWORD writeAll(HANDLE file, const FileBytes& bytes, const WriteFault* fault) {
  return static_cast<DWORD>(
      writeUntilFault(bytes, fault, [file](const char* data, std::size_t size) {
        for (std::size_t written = 0; written < size;) {
          DWORD done = 0;
          const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size - written, 1u << 30));
          if (!WriteFile(file, data + written, chunk, &done, nullptr)) {
            return static_cast<int>(GetLastError());
          }
          written += done;
        }
        return 0;
      }));
}

// Writes all of `bytes` from the file's start, cutting off what stood after them.
DWORD writeFromStart(HANDLE file, const FileBytes& bytes, const WriteFault* fault) {
  if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
      !SetEndOfFile(file)) {
    return GetLastError();
  }
  return writeAll(file, bytes, fault);
}

// Where the folder takes no new file, or the file has other names that must see the new inputs
// too, it is written where it stands. Not atomic, so its old bytes (no more than its size) are
// kept in memory and written back should this fail.
void rewriteInPlace(const OwnPlace& place, const std::string& path, const FileBytes& bytes,
                    const WriteFault* fault) {
  HANDLE file = place.file.get();
  std::string oldBytes(
      (static_cast<std::size_t>(place.info.nFileSizeHigh) << 16 << 16) | place.info.nFileSizeLow,
      '\0');
  std::size_t got = 0;
  while (got < oldBytes.size()) {
    DWORD done = 0;
    const auto wanted =
        static_cast<DWORD>(std::min<std::size_t>(oldBytes.size() - got, kReadChunk));
    if (!ReadFile(file, oldBytes.data() + got, wanted, &done, nullptr)) fail(path, GetLastError());
    if (done == 0) break;
    got += done;
  }
  oldBytes.resize(got);
  DWORD error = writeFromStart(file, bytes, fault);
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
  if (error != ERROR_SUCCESS) {
    if (writeFromStart(file, {oldBytes}, nullptr) == ERROR_SUCCESS) FlushFileBuffers(file);
    fail(path, error);
  }
}

// Removes what a save killed half-way left beside the target: only temporary files of ours,
// older than a minute (a file time counts 100-nanosecond steps; a younger file may be another
// copy's save under way).
void removeLeftoverTemporaries(const std::wstring& target) noexcept {
  constexpr ULONGLONG kLeftoverAge = 60ULL * 10000000ULL;
  try {
    const std::size_t slash = target.find_last_of(L"\\/") + 1;
    const std::wstring directory = target.substr(0, slash);
    const std::wstring_view name = std::wstring_view(target).substr(slash);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((directory + L".*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    FILETIME nowTime{};
    GetSystemTimeAsFileTime(&nowTime);
    const auto ticks = [](const FILETIME& time) {
      return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    do {
      const bool plainFile =
          (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
      if (plainFile && isTemporaryName(std::wstring_view(found.cFileName), name) &&
          ticks(nowTime) - ticks(found.ftLastWriteTime) >= kLeftoverAge) {
        DeleteFileW((directory + found.cFileName).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  } catch (...) {
    // Tidying up is a courtesy; the save goes on without it.
  }
}

}  // namespace

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

char pathSeparator() {
  return '\\';
}

std::string toFileCodePage(std::string_view utf8) {
  return toCodePage(utf8, CP_ACP);
}
std::string fromFileCodePage(std::string bytes) {
  return fromCodePage(bytes, CP_ACP);
}

std::unique_ptr<InputFile> InputFile::open(const std::string& path) {
  OwnPlace place = findOwnPlace(path, GENERIC_READ, "restore");
  if (!place.file) return nullptr;
  const ULONGLONG size =
      (static_cast<ULONGLONG>(place.info.nFileSizeHigh) << 32) | place.info.nFileSizeLow;
  return std::make_unique<WindowsInputFile>(std::move(place.file), size);
}

std::shared_ptr<const HeldFolder> HeldFolder::holdFolderOf(const std::string& path) noexcept {
  try {
    FolderIdentity identity;
    Handle folder = openFolder(folderOf(toWide(path)), identity);
    if (!folder) return nullptr;
    return std::make_shared<WindowsHeldFolder>(std::move(folder), identity);
  } catch (...) {
    return nullptr;
  }
}

void replaceFileAtomically(const std::string& path, const FileBytes& bytes, const WriteFault* fault,
                           bool /*createFolders*/, const HeldFolder* held) {
  if (held != nullptr &&
      !static_cast<const WindowsHeldFolder*>(held)->isHeldFolder(folderOf(toWide(path)))) {
    throw folderMovedError(path);
  }
  // What a plain write would refuse is refused here too: a read-only file, or one the user may
  // not read or write, is never replaced behind the user's back.
  OwnPlace place = findOwnPlace(path, GENERIC_READ | GENERIC_WRITE, "save");
  if (place.file && (place.info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    fail(path, ERROR_ACCESS_DENIED);
  }
  removeLeftoverTemporaries(place.path);
  // Every name of a file with several must see the new inputs.
  if (place.file && place.info.nNumberOfLinks > 1) return rewriteInPlace(place, path, bytes, fault);

  std::wstring temporary;
  Handle file = fault != nullptr && fault->noTemporaryFile
                    ? (SetLastError(ERROR_ACCESS_DENIED), Handle())
                    : createTemporary(place.path, temporary);
  if (!file) {
    // No new file can be made in the folder, but the file itself may be written.
    if (place.file && GetLastError() == ERROR_ACCESS_DENIED) {
      return rewriteInPlace(place, path, bytes, fault);
    }
    fail(path, GetLastError());
  }

  DWORD error = writeAll(file.get(), bytes, fault);
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file.get())) error = GetLastError();
  if (!CloseHandle(file.release()) && error == ERROR_SUCCESS) error = GetLastError();
  // ReplaceFileW keeps the replaced file's attributes and security; a new file needs no keeping.
  const bool existed = static_cast<bool>(place.file);
  place.file = Handle();
  if (error == ERROR_SUCCESS && existed &&
      !ReplaceFileW(place.path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                    nullptr, nullptr)) {
    error = GetLastError();
  }
  if (error == ERROR_SUCCESS && !existed &&
      !MoveFileExW(temporary.c_str(), place.path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temporary.c_str());
    fail(path, error);
  }
  // A hidden or system file stays one: not every ReplaceFileW carries those attributes over.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD now = GetFileAttributesW(place.path.c_str());
  const DWORD wanted = place.info.dwFileAttributes & kKept;
  if (existed && now != INVALID_FILE_ATTRIBUTES && (now & kKept) != wanted) {
    SetFileAttributesW(place.path.c_str(), (now & ~kKept) | wanted);
  }
}

}  // namespace korvale::platform
