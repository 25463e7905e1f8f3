#include "state/state_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <string>

#include "core/runtime_error.h"
#include "tests/support/temporary_directory.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvale {
namespace {

namespace fs = std::filesystem;

class StateFileTest : public ::testing::Test {
 protected:
  StateFile file() const { return StateFile(directory_.u8path()); }
  fs::path path() const { return directory_.path() / "Rede.txt"; }

  std::string bytesOnDisk() const { return directory_.read("Rede.txt"); }
  void putOnDisk(const std::string& bytes) const { directory_.write("Rede.txt", bytes); }
  std::size_t filesInDirectory() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(directory_.path()), fs::directory_iterator()));
  }

  korvale::testing::TemporaryDirectory directory_;
};

TEST_F(StateFileTest, LivesBesideTheExecutable) {
  const std::string dir = ProgramDir();
  EXPECT_TRUE(fs::is_directory(fs::u8path(dir))) << dir;
  EXPECT_NE(fs::absolute(fs::u8path(dir)), fs::current_path().parent_path() / "nowhere");
  EXPECT_EQ(StatePath(), StatePath(dir));
  EXPECT_EQ(fs::u8path(StatePath(dir)).filename(), "Rede.txt");
}

TEST_F(StateFileTest, RoundTripsTheExactBytes) {
  const struct {
    const char* teeth;
    const char* pitch;
    const char* bytes;
  } cases[] = {
      {"20", "5M", "\"20\"\r\n\"5M\"\r\n"},
      {"", "", "\"\"\r\n\"\"\r\n"},
      {"2,5", "14M", "\"2,5\"\r\n\"14M\"\r\n"},
      {"abc", "5m", "\"abc\"\r\n\"5m\"\r\n"},
  };
  for (const auto& c : cases) {
    file().WriteState(c.teeth, c.pitch);
    EXPECT_EQ(bytesOnDisk(), c.bytes);
    EXPECT_EQ(file().ReadState(), (SavedInputs{c.teeth, c.pitch}));
  }
  EXPECT_EQ(filesInDirectory(), 1u) << "no temporary file is left behind";
}

TEST_F(StateFileTest, AnIncompleteFileReadsAsNothingAndIsClosed) {
  EXPECT_FALSE(file().ReadState()) << "missing";
  for (const char* bytes : {"", "\"20\"\r\n"}) {
    putOnDisk(bytes);
    EXPECT_FALSE(file().ReadState()) << bytes;
    file().WriteState("25", "8M");  // would fail on Windows if the read had left it open
    EXPECT_EQ(bytesOnDisk(), "\"25\"\r\n\"8M\"\r\n");
  }
}

TEST_F(StateFileTest, ADirectoryInTheWayFailsAtOnce) {
  fs::create_directory(path());
  EXPECT_FALSE(file().ReadState());
  EXPECT_THROW(file().WriteState("20", "5M"), RuntimeError);
  EXPECT_TRUE(fs::is_directory(path()));
}

#ifndef _WIN32
TEST_F(StateFileTest, AFifoIsNotReadAndDoesNotBlock) {
  ASSERT_EQ(::mkfifo(path().c_str(), 0600), 0);
  EXPECT_FALSE(file().ReadState());
}
#endif

TEST_F(StateFileTest, AFailedWriteKeepsTheOldFileWhole) {
#ifdef _WIN32
  const int diskFull = ERROR_DISK_FULL;
#else
  const int diskFull = ENOSPC;
#endif
  file().WriteState("23", "5M");
  for (std::size_t afterBytes : {0u, 1u, 7u, 11u}) {
    StateFile failing = file();
    failing.injectWriteFault({afterBytes, diskFull});
    try {
      failing.WriteState("99", "14M");
      ADD_FAILURE() << "the write did not fail after " << afterBytes << " bytes";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), kDiskFullErrorNumber);
      EXPECT_NE(e.description().find(path().u8string()), std::string::npos) << e.description();
#ifndef _WIN32
      EXPECT_NE(e.description().find("No space left on device"), std::string::npos);
#endif
    }
    EXPECT_EQ(bytesOnDisk(), "\"23\"\r\n\"5M\"\r\n");
    EXPECT_EQ(filesInDirectory(), 1u);
  }
}

TEST_F(StateFileTest, AnUnwritableDirectoryGivesAClearError) {
  const StateFile nowhere((directory_.path() / "missing").u8string());
  try {
    nowhere.WriteState("20", "5M");
    ADD_FAILURE() << "wrote into a directory that does not exist";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description().find("Rede.txt"), std::string::npos) << e.description();
  }

#ifndef _WIN32
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  file().WriteState("20", "5M");
  fs::permissions(directory_.path(), fs::perms::owner_read | fs::perms::owner_exec);
  try {
    file().WriteState("25", "8M");
    ADD_FAILURE() << "wrote into a read-only directory";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), kPermissionDeniedErrorNumber);
    EXPECT_NE(e.description().find("Permission denied"), std::string::npos) << e.description();
  }
  EXPECT_EQ(bytesOnDisk(), "\"20\"\r\n\"5M\"\r\n");
#endif
}

#ifdef _WIN32
TEST_F(StateFileTest, KeepsTextsInTheAnsiCodePage) {
  const char* teeth = "\xe9\xbd\xbf\xc3\xa9";  // a Chinese character and an accented e
  const char* expected = nullptr;
  if (GetACP() == 936) expected = "\"\xb3\xdd?\"\r\n\"5M\"\r\n";
  if (GetACP() == 1252) expected = "\"?\xe9\"\r\n\"5M\"\r\n";
  if (expected == nullptr) GTEST_SKIP() << "no expectation for code page " << GetACP();
  file().WriteState(teeth, "5M");
  EXPECT_EQ(bytesOnDisk(), expected);
  if (GetACP() == 936) {
    EXPECT_EQ(file().ReadState()->teethText, "\xe9\xbd\xbf?");
  }
}
#endif

}  // namespace
}  // namespace korvale
