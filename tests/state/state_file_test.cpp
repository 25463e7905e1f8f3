#include "state/state_file.h"

#include "state/drive_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <string>

#include "core/runtime_error.h"
#include "state/platform/temporary_name.h"
#include "state/platform/test_seams.h"
#include "tests/support/as_unprivileged_user.h"
#include "tests/support/system_errors.h"
#include "tests/support/temporary_directory.h"

#ifdef _WIN32
#include <windows.h>
const char* const kTestProgram = "state_tests.exe";
#else
#include <sys/stat.h>
#include <unistd.h>
const char* const kTestProgram = "state_tests";
#endif

namespace korvale {
namespace {

namespace fs = std::filesystem;
using korvale::testing::kDiskFull;
using korvale::testing::TemporaryDirectory;

const char* const kOld = "\"20\"\r\n\"5M\"\r\n";
const char* const kNew = "\"25\"\r\n\"8M\"\r\n";

std::size_t filesIn(const fs::path& directory) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

// What a read gave: "20 5M", or "-" for nothing, with what start-up reports of it, once the
// description was seen to name the file: "- error 70: Permission denied".
std::string readOutcome(const StateFile& file) {
  std::optional<RuntimeError> whyNot;
  const std::optional<SavedInputs> inputs = file.ReadState(&whyNot);
  if (inputs) return inputs->teethText + " " + inputs->pitchText;
  if (!whyNot) return "-";
  const std::string prefix = "Cannot restore \"" + file.path() + "\": ";
  const std::string description = whyNot->description();
  return "- error " + std::to_string(whyNot->number()) + ": " +
         (description.rfind(prefix, 0) == 0 ? description.substr(prefix.size()) : description);
}

// What saving (by default "25" and "8M") gave: "saved", or the error's number and reason,
// "error 70: Permission denied", once the description was seen to name the file.
std::string saveOutcome(const StateFile& file, const char* teeth = "25", const char* pitch = "8M") {
  try {
    file.WriteState(teeth, pitch);
    return "saved";
  } catch (const RuntimeError& e) {
    const std::string prefix = "Cannot save \"" + file.path() + "\": ";
    const std::string description = e.description();
    return "error " + std::to_string(e.number()) + ": " +
           (description.rfind(prefix, 0) == 0 ? description.substr(prefix.size()) : description);
  }
}

TEST(StateFile, LivesBesideTheExecutable) {
  EXPECT_TRUE(fs::exists(fs::u8path(ProgramDir()) / kTestProgram)) << ProgramDir();
  EXPECT_EQ(fs::u8path(StateFile().path()), fs::u8path(ProgramDir()) / "Rede.txt");
}

// What tells a file from any other on its volume: a file replaced by a new one shows it.
std::uint64_t fileIndex(const fs::path& path) {
#ifdef _WIN32
  HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  BY_HANDLE_FILE_INFORMATION info{};
  GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  return (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
#else
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_ino;
#endif
}

// Runs a read and a save as the user would: on Linux in a child process as an unprivileged
// account (root writes where no user can); on Windows where it stands.
std::string asTheUser(const std::function<std::string()>& action) {
#ifdef _WIN32
  return action();
#else
  return korvale::testing::asUnprivilegedUser(action);
#endif
}

// What a read finds and a save leaves, the exact bytes, with faults injected at every stage of
// the save: a failed one keeps the old file whole. A save replaces the file by a new one, except
// where the folder takes no new file (by its mode on Linux, by the injected fault on Windows) and
// where the file has a second name: there it is rewritten where it stands, all of it, its old
// bytes put back on failure. Every read and save closes the file: on Linux the process's
// descriptors are counted; on Windows a file still open cannot be gone after its deletion.
TEST(StateFile, ReadsAndSavesTheExactBytes) {
  const std::string longer = "\"123456789\"\r\n\"14M\"\r\n";
  using platform::WriteFault;
  const std::optional<WriteFault> none;
  const WriteFault diskFull{0, kDiskFull};
  using namespace std::string_view_literals;
  enum Folder { kTakesFiles, kTakesNoNewFile, kSecondName };
  const struct {
    std::optional<std::string_view> before;  // nothing: no file
    Folder folder;
    const char* teeth;
    const char* pitch;
    std::optional<WriteFault> fault;
    const char* outcome;  // what the read gave | the save | a second read, or the start of it
    std::string after;
  } cases[] = {
      // clang-format off
      {{}, kTakesFiles, "20", "5M", none, "- | saved | 20 5M", kOld},
      // UTF-16 in either byte order, as some editors save "Unicode" text, is read as its text.
      {"\xFF\xFE\"\0\x7F\x9F\"\0\r\0\n\0" "5\0M\0"sv, kTakesFiles, "25", "8M", none, "\xe9\xbd\xbf 5M | saved | 25 8M", kNew},
      {"\xFE\xFF\0\"\xD8\x3D\xDE\x00\0\"\0\r\0\n\0" "5\0M\xD8\x3D"sv, kTakesFiles, "25", "8M", none, "\xf0\x9f\x98\x80 5M\xef\xbf\xbd | saved | 25 8M", kNew},
      {"", kTakesFiles, "", "", none, "- | saved |  ", "\"\"\r\n\"\"\r\n"},
      {"\"20\"\r\n", kTakesFiles, "2,5", "abc", none, "- | saved | 2,5 abc", "\"2,5\"\r\n\"abc\"\r\n"},
      // A double quote inside a text is written as it stands, and so does not come back whole.
      {"20,5M,more", kTakesFiles, "a\"b", "5M", none, "20 5M | saved | a 5M", "\"a\"b\"\r\n\"5M\"\r\n"},
      {kOld, kTakesFiles, "25", "8M", diskFull, "20 5M | error 61: ", kOld},
      {kOld, kTakesFiles, "25", "8M", WriteFault{1, kDiskFull}, "20 5M | error 61: ", kOld},
      {kOld, kTakesFiles, "25", "8M", WriteFault{11, kDiskFull}, "20 5M | error 61: ", kOld},
      {kOld, kTakesNoNewFile, "25", "8M", none, "20 5M | saved | 25 8M", kNew},
      {longer, kTakesNoNewFile, "25", "8M", none, "123456789 14M | saved | 25 8M", kNew},
      {kOld, kTakesNoNewFile, "25", "8M", WriteFault{5, kDiskFull}, "20 5M | error 61: ", kOld},
      {{}, kTakesNoNewFile, "25", "8M", none, "- | error 70: Permission denied", ""},
      {kOld, kSecondName, "25", "8M", none, "20 5M | saved | 25 8M", kNew},
      {kOld, kSecondName, "25", "8M", WriteFault{5, kDiskFull}, "20 5M | error 61: ", kOld},
      // clang-format on
  };
#ifdef _WIN32
  // The current folder on another file system (Wine's Z: is the Linux root, /dev/shm memory):
  // a temporary made there rather than beside the file could never be renamed into place.
  SetCurrentDirectoryW(L"Z:\\dev\\shm");
#endif
  for (const auto& c : cases) {
    TemporaryDirectory directory;
    if (c.before) directory.write("Rede.txt", std::string(*c.before));
    if (c.folder == kSecondName) {
      fs::create_hard_link(directory.path() / "Rede.txt", directory.path() / "copy.txt");
    }
    const std::uint64_t index = c.before ? fileIndex(directory.path() / "Rede.txt") : 0;
    StateFile file(directory.u8path());
    platform::seams::writeFault = c.fault;
#ifdef _WIN32
    if (c.folder == kTakesNoNewFile) {
      platform::seams::writeFault =
          c.fault.value_or(WriteFault{std::numeric_limits<std::size_t>::max(), 0});
      platform::seams::writeFault->noTemporaryFile = true;
    }
#else
    korvale::testing::handOver(directory.path());
    if (c.before) korvale::testing::handOver(directory.path() / "Rede.txt");
    if (c.folder == kTakesNoNewFile) fs::permissions(directory.path(), fs::perms(0555));
#endif
    const std::string outcome = asTheUser([&] {
#ifndef _WIN32
      const auto open = filesIn("/proc/self/fd");
#endif
      std::string result = readOutcome(file) + " | ";
      const std::string saved = saveOutcome(file, c.teeth, c.pitch);
      result += saved + (saved == "saved" ? " | " + readOutcome(file) : "");
#ifndef _WIN32
      if (filesIn("/proc/self/fd") != open) result += " with a file left open";
#endif
      return result;
    });
    fs::permissions(directory.path(), fs::perms(0755));
    EXPECT_EQ(outcome.rfind(c.outcome, 0), 0u) << outcome;
    EXPECT_EQ(outcome.find("left open"), std::string::npos) << outcome;
    EXPECT_EQ(directory.read("Rede.txt"), c.after) << outcome;
    if (c.folder == kSecondName) {
      EXPECT_EQ(directory.read("copy.txt"), c.after) << "every name";
    }
    if (c.before && outcome.find("saved") != std::string::npos) {
      EXPECT_EQ(fileIndex(directory.path() / "Rede.txt") == index, c.folder != kTakesFiles)
          << "rewritten where it stands: " << outcome;
    }
    EXPECT_EQ(filesIn(directory.path()), (c.after.empty() ? 0u : 1u) + (c.folder == kSecondName))
        << "nothing else is left";
#ifdef _WIN32
    DeleteFileW((directory.path() / "Rede.txt").wstring().c_str());
    EXPECT_FALSE(fs::exists(directory.path() / "Rede.txt")) << "left open: " << outcome;
#endif
  }
  platform::seams::writeFault.reset();
  EXPECT_EQ(saveOutcome(StateFile((TemporaryDirectory().path() / "gone").u8string()))
                .rfind("error 75: ", 0),
            0u);
}

// Whatever the drive window's boxes keep, its file keeps and gives back: every text at its
// longest, in characters of three bytes, through the disk; a file beyond what the longest
// drive takes is refused as no drive file.
TEST(DriveFile, GivesBackTheLongestDriveItKeeps) {
  std::string longest;
  for (std::size_t i = 0; i < kLongestDriveText; ++i) longest += "\xe9\xbd\xbf";
  const DriveInputs drive{
      "T5",    longest, longest, "length",
      longest, longest, "in",    {longest, longest, longest, longest, longest, longest}};
  TemporaryDirectory directory;
  const DriveFile file(directory.u8path());
  file.WriteDrive(drive);
  std::optional<RuntimeError> whyNot;
  EXPECT_TRUE(file.ReadDrive(&whyNot) == drive);
  EXPECT_FALSE(whyNot) << whyNot->description();

  directory.write("Drive.txt", "# " + std::string(64 * 1024, 'x'));
  EXPECT_FALSE(file.ReadDrive(&whyNot));
  ASSERT_TRUE(whyNot);
  const std::string description = whyNot->description();
  EXPECT_EQ(description.substr(description.find("\": ") + 3),
            "it is larger than a drive file can be");
}

// Temporary files that a killed save left are removed by the next one: only names of ours, only
// old ones (a young one may be another copy's save under way).
TEST(StateFile, RemovesOnlyItsOwnLeftovers) {
  // What a save names its temporary file, as its header shows it: the leftover planted below.
  const unsigned char random[] = {26, 53, 1, 54, 28, 55};
  const std::string ours = platform::temporaryName(std::string_view("Rede.txt"), random);
  EXPECT_EQ(ours, ".Rede.txt.korvale-a1B2c3");
  TemporaryDirectory directory;
  const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
  const std::set<std::string> kept = {"Rede.txt.tmp-notes",        ".Rede.txt",
                                      ".Rede.txt.korvale-young1",  ".Rede.txt.korvale-abc",
                                      ".Other.txt.korvale-a1B2c3", ".Rede.txt.korvale-backup1",
                                      "~Rede.txt.korvale-a1B2c3",  "Rede.txt"};
  for (const std::string& name : kept) directory.write(name, "x");
  for (const std::string& name : {ours, std::string(".Rede.txt.korvale-000000")}) {
    directory.write(name, "x");
  }
  for (const auto& entry : fs::directory_iterator(directory.path())) {
    if (entry.path().filename() != ".Rede.txt.korvale-young1") {
      fs::last_write_time(entry.path(), longAgo);
    }
  }
  StateFile(directory.u8path()).WriteState("25", "8M");
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory.path())) {
    names.insert(entry.path().filename().u8string());
  }
  EXPECT_EQ(names, kept);
}

#ifdef _WIN32
// What the user may not write is never replaced: a read-only file, and one another program holds
// open without sharing it (error 70 either way, in the system's own words), and what is no file
// on a disk (a device, a pipe). A link of the user's own is followed.
TEST(StateFile, ReplacesOnlyWhatTheUserMayWrite) {
  const struct {
    const char* name;
    std::string outcome;  // its start
    std::string after;
  } cases[] = {
      {"read-only", "error 70: Permission denied (", kOld},
      {"held open", "error 70: Permission denied (", kOld},
      {"own link", "saved", kNew},
      {"device", "error 75: Not a regular file", kOld},
  };
  for (const auto& c : cases) {
    TemporaryDirectory directory;
    directory.write("Rede.txt", kOld);
    const std::wstring path = (directory.path() / "Rede.txt").wstring();
    const std::string name = c.name;
    if (name == "read-only") SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE holder = name == "held open" ? CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr,
                                                      OPEN_EXISTING, 0, nullptr)
                                        : INVALID_HANDLE_VALUE;
    platform::seams::takeFilesForLinks = name == "own link";
    platform::seams::takeFilesForDevices = name == "device";
    const std::string outcome = saveOutcome(StateFile(directory.u8path()));
    platform::seams::takeFilesForLinks = platform::seams::takeFilesForDevices = false;
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(outcome.rfind(c.outcome, 0), 0u) << c.name << ": " << outcome;
    EXPECT_EQ(outcome.find("System error"), std::string::npos) << "the system's own words";
    EXPECT_EQ(directory.read("Rede.txt"), c.after) << c.name;
  }
}

// A hidden system file stays one after the save. The folder the inputs came from is held: it
// cannot be moved away while the program runs, or if it can, the save goes nowhere.
TEST(StateFile, KeepsTheFilesAttributesAndItsFolder) {
  TemporaryDirectory directory;
  directory.write("Rede.txt", kOld);
  const std::wstring path = (directory.path() / "Rede.txt").wstring();
  constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  SetFileAttributesW(path.c_str(), kHiddenSystem);
  const StateFile file(directory.u8path());
  EXPECT_EQ(saveOutcome(file), "saved");
  EXPECT_EQ(GetFileAttributesW(path.c_str()) & kHiddenSystem, kHiddenSystem);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  const fs::path moved = directory.path().wstring() + L"-moved";
  if (MoveFileW(directory.path().c_str(), moved.c_str())) {
    fs::create_directory(directory.path());
    EXPECT_EQ(saveOutcome(file).rfind("error 75: its folder was moved", 0), 0u);
    EXPECT_FALSE(fs::exists(directory.path() / "Rede.txt"));
    fs::remove_all(moved);
  }
}

TEST(StateFile, KeepsTextsInTheAnsiCodePage) {
  const char* teeth = "\xe9\xbd\xbf\xc3\xa9";  // a Chinese character and an accented e
  const char* expected = nullptr;
  if (GetACP() == 936) expected = "\"\xb3\xdd?\"\r\n\"5M\"\r\n";
  if (GetACP() == 1252) expected = "\"?\xe9\"\r\n\"5M\"\r\n";
  if (expected == nullptr) GTEST_SKIP() << "no expectation for code page " << GetACP();
  TemporaryDirectory directory;
  StateFile(directory.u8path()).WriteState(teeth, "5M");
  EXPECT_EQ(directory.read("Rede.txt"), expected);
}
#else
using korvale::testing::handOver;

// Another account than the user's and root's, for what an attacker plants.
constexpr uid_t kOtherUser = 4242;
// A group the user belongs to besides their own, for files they share with colleagues.
constexpr gid_t kSharedGroup = 4243;

// A scratch tree for one case, all of it the user's: "app/" holds Rede.txt, "home/" is elsewhere.
class Scene {
 public:
  Scene() {
    for (const char* folder : {"app", "home"}) fs::create_directory(at(folder));
    handOver(root_.path());
    handOver(at("app"));
    handOver(at("home"));
  }
  fs::path at(const std::string& name) const { return root_.path() / name; }
  std::string app() const { return at("app").u8string(); }

  void file(const std::string& name, const std::string& bytes, int mode = 0644,
            uid_t owner = korvale::testing::unprivilegedUser().uid) const {
    root_.write(name, bytes);
    handOver(at(name), owner);
    fs::permissions(at(name), fs::perms(mode));
  }
  void link(const std::string& name, const std::string& target,
            uid_t owner = korvale::testing::unprivilegedUser().uid) const {
    fs::create_symlink(target, at(name));
    handOver(at(name), owner);
  }
  void hardLink(const std::string& name, const std::string& other) const {
    fs::create_hard_link(at(name), at(other));
  }
  void fifo(const std::string& name) const { ::mkfifo(at(name).c_str(), 0666); }
  void mode(const std::string& name, int mode, uid_t owner) const {
    handOver(at(name), owner);
    fs::permissions(at(name), fs::perms(mode));
  }
  void mode(const std::string& name, int mode) const { fs::permissions(at(name), fs::perms(mode)); }
  void group(const std::string& name, gid_t group) const {
    (void)!::lchown(at(name).c_str(), static_cast<uid_t>(-1), group);
  }
  void old(const std::string& name) const {
    fs::last_write_time(at(name), fs::file_time_type::clock::now() - std::chrono::hours(1));
  }

  // Every path below the root with what it is: "app/Rede.txt=new" (a file, with its mode where
  // it is not 644 and its group where it is not the user's; "old" and "new" stand for the two saved
  // texts), "app/Rede.txt->/dev/null" (a link), "app/Rede.txt|" (a FIFO), "app/Rede.txt/" (a
  // folder), separated by blanks.
  std::string listing() const {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root_.path())) {
      const std::string name = entry.path().lexically_relative(root_.path()).generic_string();
      const fs::file_status status = entry.symlink_status();
      char mode[32] = "";
      if (status.permissions() != fs::perms(0644)) {
        std::snprintf(mode, sizeof mode, " %03o", static_cast<unsigned>(status.permissions()));
      }
      struct stat info {};
      if (::lstat(entry.path().c_str(), &info) == 0 && fs::is_regular_file(status) &&
          info.st_gid != korvale::testing::unprivilegedUser().gid) {
        std::snprintf(mode + std::strlen(mode), sizeof mode - std::strlen(mode), " group %u",
                      static_cast<unsigned>(info.st_gid));
      }
      const std::string bytes = fs::is_regular_file(status) ? root_.read(name) : "";
      if (fs::is_symlink(status)) {
        entries.insert(name + "->" + fs::read_symlink(entry).string());
      } else if (fs::is_fifo(status)) {
        entries.insert(name + "|");
      } else if (fs::is_directory(status)) {
        if (name != "app" && name != "home") entries.insert(name + "/");
      } else {
        entries.insert(name + "=" + (bytes == kOld ? "old" : bytes == kNew ? "new" : bytes) + mode);
      }
    }
    std::string joined;
    for (const std::string& entry : entries) joined += (joined.empty() ? "" : " ") + entry;
    return joined;
  }

 private:
  TemporaryDirectory root_;
};

// What the user's copy of the program reads and saves where other users, devices, FIFOs and links
// stand in its way. Each case runs as an unprivileged user (root writes where no user can) with
// umask 027; the cases marked root plant what belongs to another account.
TEST(StateFile, ReadsAndReplacesOnlyRegularFilesOfTheUsersOwn) {
  using S = const Scene&;
  using platform::WriteFault;
  const std::string denied = "error 70: Permission denied";
  const std::string notRegular = "error 75: Not a regular file";
  const std::string foreignLink = denied + " (a link there belongs to another user)";
  const std::string bashrc = "home/.bashrc=alias ls='ls -l'\n";
  const auto planted = [](S s, int folderMode) {
    s.mode("app", folderMode);
    s.file("home/.bashrc", "alias ls='ls -l'\n");
    s.link("app/Rede.txt", "../home/.bashrc", kOtherUser);
  };
  const std::string notRegularRead = "- " + notRegular;
  const std::string othersFile = denied + " (the file belongs to another user)";
  const uid_t user = korvale::testing::unprivilegedUser().uid;
  // The folder moved away after start-up, and another user's open one put under its name.
  const auto moved = [](S s) {
    fs::rename(s.at("app"), s.at("moved"));
    fs::create_directory(s.at("app"));
    s.mode("app", 0777, kOtherUser);
  };
  const struct {
    const char* name;
    bool root;
    std::function<void(S)> arrange;
    std::optional<WriteFault> fault;
    std::string read;
    std::string saved;
    std::string after;
    std::function<void(S)> meanwhile = {};
  } cases[] = {
      // clang-format off
      {"own file", false, [](S s) { s.file("app/Rede.txt", kOld, 0640); }, {}, "20 5M", "saved", "app/Rede.txt=new 640"},
      {"no file yet", false, [](S) {}, {}, "-", "saved", "app/Rede.txt=new 640"},
      {"read-only file", false, [](S s) { s.file("app/Rede.txt", kOld, 0444); }, {}, "20 5M", denied, "app/Rede.txt=old 444"},
      {"unreadable file", false, [](S s) { s.file("app/Rede.txt", kOld, 0); }, {}, "- " + denied, denied, "app/Rede.txt=old 000"},
      {"read-only file system", false, [](S s) { s.file("app/Rede.txt", kOld); }, WriteFault{0, EROFS}, "20 5M", "error 70: Read-only file system", "app/Rede.txt=old"},
      {"own link", false, [](S s) { s.file("home/keep.txt", kOld); s.link("app/Rede.txt", "../home/keep.txt"); }, {}, "20 5M", "saved", "app/Rede.txt->../home/keep.txt home/keep.txt=new"},
      {"own link leading nowhere yet", false, [](S s) { s.link("app/Rede.txt", "../home/new.txt"); }, {}, "-", "saved", "app/Rede.txt->../home/new.txt home/new.txt=new 640"},
      {"own link loop", false, [](S s) { s.link("app/Rede.txt", "Rede.txt"); }, {}, "- error 75: Too many levels of symbolic links", "error 75: Too many levels of symbolic links", "app/Rede.txt->Rede.txt"},
      // A file of the system's whose size says nothing of what it holds stands for one that grew
      // after it was opened: only the size it had then is read.
      {"a file longer than its size", false, [](S s) { s.link("app/Rede.txt", "/proc/self/status"); }, {}, "-", denied, "app/Rede.txt->/proc/self/status"},
      {"own link to a device", false, [](S s) { s.link("app/Rede.txt", "/dev/null"); }, {}, notRegularRead, notRegular, "app/Rede.txt->/dev/null"},
      {"FIFO", false, [](S s) { s.fifo("app/Rede.txt"); }, {}, notRegularRead, notRegular, "app/Rede.txt|"},
      {"FIFO, folder takes none", false, [](S s) { s.fifo("app/Rede.txt"); s.mode("app", 0555); }, {}, notRegularRead, notRegular, "app/Rede.txt|"},
      {"folder named Rede.txt", false, [](S s) { fs::create_directory(s.at("app/Rede.txt")); }, {}, notRegularRead, notRegular, "app/Rede.txt/"},
      // Another user's file: read whoever owns it; saved as the system allows, except in a folder
      // that other users may write to.
      {"root's shared file, root's folder", true, [](S s) { s.file("app/Rede.txt", kOld, 0666, 0); s.mode("app", 0755, 0); }, {}, "20 5M", "saved", "app/Rede.txt=new 666"},
      {"another's file, root's folder", true, [](S s) { s.file("app/Rede.txt", kOld, 0644, kOtherUser); s.mode("app", 0755, 0); }, {}, "20 5M", denied, "app/Rede.txt=old"},
      {"group-shared file", true, [](S s) { s.file("app/Rede.txt", kOld, 0664); s.group("app/Rede.txt", kSharedGroup); }, {}, "20 5M", "saved", "app/Rede.txt=new 664 group 4243"},
      {"another's shared file, own folder", true, [](S s) { s.file("app/Rede.txt", kOld, 0666, kOtherUser); }, {}, "20 5M", "saved", "app/Rede.txt=new 666"},
      {"root's file, own folder", true, [](S s) { s.file("app/Rede.txt", kOld, 0644, 0); }, {}, "20 5M", denied, "app/Rede.txt=old"},
      {"another's shared file, sticky folder", true, [&](S s) { s.file("app/Rede.txt", kOld, 0666, kOtherUser); s.mode("app", 01777, 0); }, {}, "- " + othersFile, othersFile, "app/Rede.txt=old 666"},
      {"root's file, sticky folder", true, [&](S s) { s.file("app/Rede.txt", kOld, 0644, 0); s.mode("app", 01777, 0); }, {}, "- " + othersFile, othersFile, "app/Rede.txt=old"},
      {"root's shared file, open folder", true, [&](S s) { s.file("app/Rede.txt", kOld, 0666, 0); s.mode("app", 0777); }, {}, "- " + othersFile, othersFile, "app/Rede.txt=old 666"},
      {"another's file, open folder", true, [&](S s) { s.file("app/Rede.txt", kOld, 0644, kOtherUser); s.mode("app", 0777, kOtherUser); }, {}, "- " + othersFile, othersFile, "app/Rede.txt=old"},
      {"a second name planted in an open folder", true, [&](S s) { s.file("home/keep.txt", kOld); s.hardLink("home/keep.txt", "app/Rede.txt"); s.mode("app", 0777); }, {}, "20 5M", "saved", "app/Rede.txt=new home/keep.txt=old"},
      {"own file, sticky folder", true, [&](S s) { s.file("app/Rede.txt", kOld, 0644); s.mode("app", 01777, 0); }, {}, "20 5M", "saved", "app/Rede.txt=new"},
      {"a second name in another's folder", true, [&](S s) { s.file("home/keep.txt", kOld); s.hardLink("home/keep.txt", "app/Rede.txt"); s.mode("app", 0755, kOtherUser); }, {}, "20 5M", denied, "app/Rede.txt=old home/keep.txt=old"},
      {"the folder replaced after start-up", true, [](S s) { s.file("app/Rede.txt", kOld); }, {}, "-", "error 75: its folder was moved or removed while Korvale was open", "moved/ moved/Rede.txt=old", moved},
      {"link planted in a sticky folder", true, [&](S s) { planted(s, 01777); }, {}, "- " + foreignLink, foreignLink, "app/Rede.txt->../home/.bashrc " + bashrc},
      {"link planted in an open folder", true, [&](S s) { planted(s, 0777); }, {}, "- " + foreignLink, foreignLink, "app/Rede.txt->../home/.bashrc " + bashrc},
      {"the administrator's link", true, [](S s) { s.file("home/keep.txt", kOld); s.link("app/Rede.txt", "../home/keep.txt", 0); }, {}, "20 5M", "saved", "app/Rede.txt->../home/keep.txt home/keep.txt=new"},
      {"another user's leftover", true, [](S s) { s.file("app/.Rede.txt.korvale-a1B2c3", "x", 0644, kOtherUser); s.old("app/.Rede.txt.korvale-a1B2c3"); }, {}, "-", "saved", "app/.Rede.txt.korvale-a1B2c3=x app/Rede.txt=new 640"},
      // clang-format on
  };
  for (const auto& c : cases) {
    if (c.root && ::geteuid() != 0) continue;  // only root can give a file to another account
    Scene scene;
    c.arrange(scene);
    StateFile file(scene.app());
    platform::seams::writeFault = c.fault;
    if (c.meanwhile) c.meanwhile(scene);
    const std::string outcome = korvale::testing::asUnprivilegedUser(
        [&] {
          ::umask(027);
          std::string result = readOutcome(file) + " | ";
          result += saveOutcome(file);
          return ::umask(027) == 027 ? result : result + " | the umask changed";
        },
        {user, korvale::testing::unprivilegedUser().gid, kSharedGroup});
    scene.mode("app", 0755, user);
    EXPECT_EQ(outcome, c.read + " | " + c.saved) << c.name;
    EXPECT_EQ(scene.listing(), c.after) << c.name;
  }
  platform::seams::writeFault.reset();

  // The drive's file is kept by the same rules: rows of the table above, played on Drive.txt,
  // and one the drive's own format refuses (reported, and saved over only by a later save).
  const struct {
    const char* name;
    std::function<void(S)> arrange;
    std::string outcome;  // what the read gave (its profile) | what the save gave
  } driveCases[] = {
      // clang-format off
      {"own file", [](S s) { s.file("app/Drive.txt", "profile=5M\n", 0640); }, "5M | saved"},
      {"FIFO", [](S s) { s.fifo("app/Drive.txt"); }, notRegularRead + " | " + notRegular},
      {"nonsense", [](S s) { s.file("app/Drive.txt", "z1 30\n"); }, "- error 321: line 1 has no \"=\" | saved"},
      {"link planted in an open folder", [](S s) { s.file("home/.bashrc", "x"); s.link("app/Drive.txt", "../home/.bashrc", kOtherUser); s.mode("app", 0777); }, "- " + foreignLink + " | " + foreignLink},
      {"another's file, open folder", [](S s) { s.file("app/Drive.txt", "profile=5M\n", 0644, kOtherUser); s.mode("app", 0777, kOtherUser); }, "- " + othersFile + " | " + othersFile},
      {"another's shared file, sticky folder", [](S s) { s.file("app/Drive.txt", "profile=5M\n", 0666, kOtherUser); s.mode("app", 01777, 0); }, "- " + othersFile + " | " + othersFile},
      // clang-format on
  };
  for (const auto& c : driveCases) {
    if (::geteuid() != 0) continue;
    Scene scene;
    c.arrange(scene);
    DriveFile file(scene.app());
    const std::string outcome = korvale::testing::asUnprivilegedUser([&] {
      std::optional<RuntimeError> whyNot;
      const std::optional<DriveInputs> inputs = file.ReadDrive(&whyNot);
      std::string result = inputs ? inputs->profile : "-";
      if (whyNot) {
        const std::string text = whyNot->description();
        result += " error " + std::to_string(whyNot->number()) + ": " +
                  text.substr(text.find("\": ") + 3);
      }
      try {
        file.WriteDrive(DriveInputs());
        return result + " | saved";
      } catch (const RuntimeError& e) {
        const std::string text = e.description();
        return result + " | error " + std::to_string(e.number()) + ": " +
               text.substr(text.find("\": ") + 3);
      }
    });
    EXPECT_EQ(outcome, c.outcome) << c.name;
  }
}

TEST(StateFile, AnInstalledCopyKeepsItsInputsInTheUsersConfigurationFolder) {
  TemporaryDirectory directory;
  const fs::path bin = directory.path() / "usr" / "bin";
  fs::create_directories(bin);
  const std::string programDir = bin.u8string();
  EXPECT_EQ(StateLocationFor(programDir).directory, programDir) << "a copy of its own";

  fs::create_directories(directory.path() / "usr" / "share" / "korvale");
  directory.write("usr/share/korvale/installed-copy", "");
  const std::string home = (directory.path() / "home").u8string();
  const struct {
    const char* configHome;
    std::string expected;
  } cases[] = {
      {"/elsewhere/config", "/elsewhere/config/korvale"},
      {"", home + "/.config/korvale"},
      {"relative/config", home + "/.config/korvale"},
      {nullptr, home + "/.config/korvale"},
  };
  // No other test here reads these variables: they are set, and left, as each case needs them.
  ::setenv("HOME", home.c_str(), 1);
  for (const auto& c : cases) {
    c.configHome ? ::setenv("XDG_CONFIG_HOME", c.configHome, 1) : ::unsetenv("XDG_CONFIG_HOME");
    const StateLocation location = StateLocationFor(programDir);
    EXPECT_EQ(location.directory, c.expected) << (c.configHome ? c.configHome : "unset");
    EXPECT_TRUE(location.createdOnSave);
  }

  // The folders the first save makes are the user's alone (the packaged program's test saves
  // there and restores from there).
  const StateFile installed = StateFile::ofProgramIn(programDir);
  EXPECT_EQ(installed.path(), home + "/.config/korvale/Rede.txt");
  installed.WriteState("25", "8M");
  EXPECT_EQ(fs::status(directory.path() / "home" / ".config" / "korvale").permissions(),
            fs::perms::owner_all);

  // An account the system has no home for, without HOME: the save refuses, never "/Rede.txt".
  if (::geteuid() != 0) return;  // only root can become such an account
  ::unsetenv("HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  const std::string homeless = korvale::testing::asUnprivilegedUser(
      [&] { return saveOutcome(StateFile::ofProgramIn(programDir)); }, {kOtherUser, kOtherUser});
  EXPECT_EQ(homeless, "error 75: Cannot find the user's home directory");
}
#endif

}  // namespace
}  // namespace korvale
