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
                            {"2,5", "abc", "\"2,5\"\r\n\"abc\"\r\n"}};
  for (const auto& c : cases) {
    file().WriteState(c[0], c[1]);
    EXPECT_EQ(onDisk(), c[2]);
    EXPECT_EQ(file().ReadState(), (SavedInputs{c[0], c[1]}));
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
#endif
  fs::create_directory(directory_.path() / "Rede.txt");
  EXPECT_FALSE(file().ReadState());
  EXPECT_THROW(file().WriteState("20", "5M"), RuntimeError);
  EXPECT_TRUE(fs::is_directory(directory_.path() / "Rede.txt"));
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

TEST_F(StateFileTest, AnUnwritableDirectoryGivesAClearError) {
  EXPECT_THROW(StateFile((directory_.path() / "missing").u8string()).WriteState("20", "5M"),
               RuntimeError);
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
  EXPECT_EQ(onDisk(), "\"20\"\r\n\"5M\"\r\n");
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
  EXPECT_EQ(onDisk(), expected);
}
#endif

}  // namespace
}  // namespace korvale
