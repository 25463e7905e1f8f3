#include "state/state_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <string>

#include "core/runtime_error.h"
#include "tests/support/as_unprivileged_user.h"
#include "tests/support/temporary_directory.h"

#ifdef _WIN32
#include <windows.h>
const int kDiskFull = ERROR_DISK_FULL;
const char* const kTestProgram = "state_tests.exe";
#else
#include <sys/stat.h>
#include <unistd.h>
const int kDiskFull = ENOSPC;
const char* const kTestProgram = "state_tests";
#endif

namespace korvale {
namespace {

namespace fs = std::filesystem;

class StateFileTest : public ::testing::Test {
 protected:
  StateFile file() const { return StateFile(directory_.u8path()); }
  std::string onDisk() const { return directory_.read("Rede.txt"); }
  std::size_t filesInDirectory() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(directory_.path()), fs::directory_iterator()));
  }

  korvale::testing::TemporaryDirectory directory_;
};

TEST_F(StateFileTest, LivesBesideTheExecutable) {
  EXPECT_TRUE(fs::exists(fs::u8path(ProgramDir()) / kTestProgram)) << ProgramDir();
  EXPECT_EQ(fs::u8path(StatePath()), fs::u8path(ProgramDir()) / "Rede.txt");
}

TEST_F(StateFileTest, RoundTripsTheExactBytes) {
  const char* cases[][3] = {{"20", "5M", "\"20\"\r\n\"5M\"\r\n"},
                            {"", "", "\"\"\r\n\"\"\r\n"},
                            {"2,5", "abc", "\"2,5\"\r\n\"abc\"\r\n"},
                            {"a\"b", "5M", "\"a\"b\"\r\n\"5M\"\r\n"}};
  for (const auto& c : cases) {
    file().WriteState(c[0], c[1]);
    EXPECT_EQ(onDisk(), c[2]);
    // A double quote inside a text is written as it stands, and so does not come back whole.
    if (std::string(c[0]).find('"') == std::string::npos) {
      EXPECT_EQ(file().ReadState(), (SavedInputs{c[0], c[1]}));
    }
  }
  EXPECT_EQ(filesInDirectory(), 1u) << "no temporary file is left behind";
}

TEST_F(StateFileTest, AnIncompleteOrOddFileReadsAsNothingAndIsClosed) {
  EXPECT_FALSE(file().ReadState()) << "missing";
  for (const char* bytes : {"", "\"20\"\r\n"}) {
    directory_.write("Rede.txt", bytes);
    EXPECT_FALSE(file().ReadState()) << bytes;
    file().WriteState("25", "8M");  // fails on Windows if the read left the file open
    EXPECT_EQ(onDisk(), "\"25\"\r\n\"8M\"\r\n");
  }
  fs::remove(directory_.path() / "Rede.txt");
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((directory_.path() / "Rede.txt").c_str(), 0600), 0);
  EXPECT_FALSE(file().ReadState()) << "a FIFO is refused at once, without blocking";
  fs::remove(directory_.path() / "Rede.txt");
  fs::create_symlink("/dev/zero", directory_.path() / "Rede.txt");
  EXPECT_FALSE(file().ReadState()) << "a device is refused, never read without end";
  fs::remove(directory_.path() / "Rede.txt");
#endif
  fs::create_directory(directory_.path() / "Rede.txt");
  EXPECT_FALSE(file().ReadState());
  EXPECT_THROW(file().WriteState("20", "5M"), RuntimeError);
  EXPECT_TRUE(fs::is_directory(directory_.path() / "Rede.txt"));
}

// Whether a read left the file open: on Linux the process's descriptors are counted; on Windows a
// file still open cannot be gone after its deletion.
TEST_F(StateFileTest, EveryReadClosesTheFile) {
  const fs::path rede = directory_.path() / "Rede.txt";
  for (const char* bytes : {"\"20\"\r\n\"5M\"\r\n", "", "\"20\"\r\n", "20,5M,more"}) {
    directory_.write("Rede.txt", bytes);
#ifdef _WIN32
    file().ReadState();
    DeleteFileW(rede.wstring().c_str());
    EXPECT_FALSE(fs::exists(rede)) << "left open after reading [" << bytes << "]";
    fs::remove(rede);
#else
    const auto openDescriptors = [] {
      return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = openDescriptors();
    file().ReadState();
    EXPECT_EQ(openDescriptors(), before) << "left open after reading [" << bytes << "]";
#endif
  }
}

TEST_F(StateFileTest, AFailedWriteKeepsTheOldFileWhole) {
  file().WriteState("23", "5M");
  for (std::size_t afterBytes : {0u, 1u, 7u, 11u}) {
    StateFile failing = file();
    failing.injectWriteFault({afterBytes, kDiskFull});
    try {
      failing.WriteState("99", "14M");
      ADD_FAILURE() << "the write did not fail after " << afterBytes << " bytes";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), kDiskFullErrorNumber);
      EXPECT_NE(e.description().find(failing.path()), std::string::npos) << e.description();
#ifndef _WIN32
      EXPECT_NE(e.description().find("No space left on device"), std::string::npos);
#endif
    }
    EXPECT_EQ(onDisk(), "\"23\"\r\n\"5M\"\r\n");
    EXPECT_EQ(filesInDirectory(), 1u);
  }
}

// "saved", or the error a save raised: "error 70: Cannot save "/tmp/.../Rede.txt": ...".
std::string saveOutcome(const StateFile& file) {
  try {
    file.WriteState("25", "8M");
    return "saved";
  } catch (const RuntimeError& e) {
    return "error " + std::to_string(e.number()) + ": " + e.description();
  }
}

const char* const kOld = "\"20\"\r\n\"5M\"\r\n";
const char* const kNew = "\"25\"\r\n\"8M\"\r\n";

// Where the folder takes no new file, the file is rewritten where it stands, and should that
// fail, its old bytes are written back. Without a file there is nothing to rewrite.
TEST_F(StateFileTest, AFolderThatTakesNoNewFileGetsTheFileRewrittenInPlace) {
  constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();
  const struct {
    bool fileBefore;
    std::size_t faultAfter;
    int expectedError;  // 0: saved
    const char* fileAfter;
  } cases[] = {{true, kNever, 0, kNew},
               {true, 5, kDiskFullErrorNumber, kOld},
               {false, kNever, kPermissionDeniedErrorNumber, ""}};
  for (const auto& c : cases) {
    fs::remove(directory_.path() / "Rede.txt");
    if (c.fileBefore) directory_.write("Rede.txt", kOld);
    StateFile target = file();
    target.injectWriteFault({c.faultAfter, kDiskFull, true});
    int error = 0;
    try {
      target.WriteState("25", "8M");
    } catch (const RuntimeError& e) {
      error = e.number();
      EXPECT_NE(e.description().find(target.path()), std::string::npos) << e.description();
    }
    EXPECT_EQ(error, c.expectedError) << c.faultAfter;
    EXPECT_EQ(onDisk(), c.fileAfter) << c.faultAfter;
    EXPECT_EQ(filesInDirectory(), c.fileBefore ? 1u : 0u);
  }
  EXPECT_THROW(StateFile((directory_.path() / "missing").u8string()).WriteState("20", "5M"),
               RuntimeError);
}

TEST_F(StateFileTest, TemporaryFilesLeftByAnEarlierSaveAreRemoved) {
  const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {"Rede.txt.tmp-a1B2c3", "Rede.txt.tmp-1234-0", "Rede.txt.tmp-young",
                           "Other.txt.tmp-a1B2c3", "Rede.txt.bak"}) {
    directory_.write(name, "x");
    if (std::string(name) != "Rede.txt.tmp-young") {
      fs::last_write_time(directory_.path() / name, longAgo);
    }
  }
  file().WriteState("25", "8M");
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory_.path())) {
    names.insert(entry.path().filename().u8string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"Other.txt.tmp-a1B2c3", "Rede.txt", "Rede.txt.bak",
                                          "Rede.txt.tmp-young"}))
      << "a young one may be another copy's save in progress";
}

#ifdef _WIN32
TEST_F(StateFileTest, AReadOnlyFileIsNeverReplaced) {
  directory_.write("Rede.txt", kOld);
  const std::wstring path = (directory_.path() / "Rede.txt").wstring();
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string outcome = saveOutcome(file());
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(outcome.rfind("error 70: Cannot save \"" + file().path() + "\": ", 0), 0u) << outcome;
  EXPECT_EQ(outcome.find("System error"), std::string::npos) << "the system's own words";
  EXPECT_EQ(std::string(".\r\n ").find(outcome.back()), std::string::npos) << outcome;
  EXPECT_EQ(onDisk(), kOld);
}
#else
// Each case runs as an unprivileged user, also under root: root writes where no user can.
TEST_F(StateFileTest, SavesAsAUserWouldOrRefusesAndKeepsTheFile) {
  using korvale::testing::asUnprivilegedUser;
  using korvale::testing::handOver;
  const auto permissionDenied = "error 70: Cannot save \"%\": Permission denied";
  const struct {
    const char* name;
    bool fileBefore;
    fs::perms filePerms;
    fs::perms directoryPerms;
    std::optional<platform::WriteFault> fault;
    const char* outcome;  // % stands for the path
    const char* fileAfter;
  } cases[] = {
      {"writable file", true, fs::perms(0644), fs::perms(0755), {}, "saved", kNew},
      {"read-only file", true, fs::perms(0444), fs::perms(0755), {}, permissionDenied, kOld},
      {"unreadable file", true, fs::perms(0), fs::perms(0755), {}, permissionDenied, kOld},
      {"no file, read-only directory", false, {}, fs::perms(0555), {}, permissionDenied, ""},
      {"writable file, read-only directory",
       true,
       fs::perms(0644),
       fs::perms(0555),
       {},
       "saved",
       kNew},
      {"the same, the disk full half-way", true, fs::perms(0644), fs::perms(0555),
       platform::WriteFault{5, ENOSPC}, "error 61: Cannot save \"%\": No space left on device",
       kOld},
      {"read-only file, read-only directory",
       true,
       fs::perms(0444),
       fs::perms(0555),
       {},
       permissionDenied,
       kOld},
  };
  for (const auto& c : cases) {
    korvale::testing::TemporaryDirectory directory;
    const fs::path rede = directory.path() / "Rede.txt";
    handOver(directory.path());
    if (c.fileBefore) {
      directory.write("Rede.txt", kOld);
      handOver(rede);
      fs::permissions(rede, c.filePerms);
    }
    fs::permissions(directory.path(), c.directoryPerms);
    StateFile target(directory.u8path());
    if (c.fault) target.injectWriteFault(*c.fault);
    std::string expected = c.outcome;
    if (expected.find('%') != std::string::npos)
      expected.replace(expected.find('%'), 1, target.path());

    EXPECT_EQ(asUnprivilegedUser([&] { return saveOutcome(target); }), expected) << c.name;
    fs::permissions(directory.path(), fs::perms(0755));
    EXPECT_EQ(directory.read("Rede.txt"), c.fileAfter) << c.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()),
              c.fileBefore || std::string(c.fileAfter).size() ? 1 : 0)
        << c.name << ": nothing else is left behind";
    if (c.fileBefore) {
      EXPECT_EQ(fs::status(rede).permissions(), c.filePerms) << c.name;
    }
  }
}

// Sets an environment variable for one scope, or unsets it (nullptr).
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST_F(StateFileTest, AnInstalledCopyKeepsItsInputsInTheUsersConfigurationFolder) {
  const fs::path bin = directory_.path() / "usr" / "bin";
  fs::create_directories(bin);
  const std::string programDir = bin.u8string();
  EXPECT_EQ(StateLocationFor(programDir).directory, programDir) << "a copy of its own";

  fs::create_directories(directory_.path() / "usr" / "share" / "korvale");
  directory_.write("usr/share/korvale/installed-copy", "");
  const std::string home = (directory_.path() / "home").u8string();
  const struct {
    const char* configHome;
    std::string expected;
  } cases[] = {
      {nullptr, home + "/.config/korvale"},
      {"", home + "/.config/korvale"},
      {"relative/config", home + "/.config/korvale"},
      {"/elsewhere/config", "/elsewhere/config/korvale"},
  };
  ScopedVariable homeVariable("HOME", home.c_str());
  for (const auto& c : cases) {
    ScopedVariable config("XDG_CONFIG_HOME", c.configHome);
    const StateLocation location = StateLocationFor(programDir);
    EXPECT_EQ(location.directory, c.expected) << (c.configHome ? c.configHome : "unset");
    EXPECT_TRUE(location.createdOnSave);
  }

  const StateFile installed = StateFile::ofProgramIn(programDir);
  EXPECT_EQ(installed.path(), home + "/.config/korvale/Rede.txt");
  EXPECT_FALSE(installed.ReadState());
  installed.WriteState("25", "8M");
  EXPECT_EQ(directory_.read("home/.config/korvale/Rede.txt"), kNew);
  EXPECT_EQ(fs::status(directory_.path() / "home" / ".config" / "korvale").permissions(),
            fs::perms::owner_all);
  EXPECT_EQ(installed.ReadState(), (SavedInputs{"25", "8M"}));
  EXPECT_FALSE(fs::exists(bin / "Rede.txt"));
}

TEST_F(StateFileTest, ASymbolicLinkStaysAndItsTargetIsReplaced) {
  korvale::testing::TemporaryDirectory elsewhere;
  elsewhere.write("kept.txt", kOld);
  fs::create_symlink(elsewhere.path() / "kept.txt", directory_.path() / "Rede.txt");
  file().WriteState("25", "8M");
  EXPECT_TRUE(fs::is_symlink(directory_.path() / "Rede.txt"));
  EXPECT_EQ(elsewhere.read("kept.txt"), kNew);
  EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.path()), fs::directory_iterator()), 1);
}

TEST_F(StateFileTest, KeepsTheFilesModeAndOwnerAndGivesANewOneTheUsualMode) {
  directory_.write("Rede.txt", kOld);
  const fs::path rede = directory_.path() / "Rede.txt";
  fs::permissions(rede, fs::perms(0640));
  korvale::testing::handOver(rede);
  file().WriteState("25", "8M");
  struct stat info {};
  ASSERT_EQ(::stat(rede.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_uid, korvale::testing::unprivilegedUser().uid) << "the owner stays";

  for (const mode_t mask : {mode_t{0022}, mode_t{0077}, mode_t{0002}}) {
    fs::remove(rede);
    const mode_t before = ::umask(mask);
    file().WriteState("25", "8M");
    EXPECT_EQ(::umask(before), mask) << "the process keeps its umask";
    ASSERT_EQ(::stat(rede.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask) << "umask " << mask;
  }
}
#endif

#ifdef _WIN32
TEST_F(StateFileTest, KeepsTextsInTheAnsiCodePage) {
  const char* teeth = "\xe9\xbd\xbf\xc3\xa9";  // a Chinese character and an accented e
  const char* expected = nullptr;
  if (GetACP() == 936) expected = "\"\xb3\xdd?\"\r\n\"5M\"\r\n";
  if (GetACP() == 1252) expected = "\"?\xe9\"\r\n\"5M\"\r\n";
  if (expected == nullptr) GTEST_SKIP() << "no expectation for code page " << GetACP();
  file().WriteState(teeth, "5M");
  EXPECT_EQ(onDisk(), expected);
}
#endif

}  // namespace
}  // namespace korvale
