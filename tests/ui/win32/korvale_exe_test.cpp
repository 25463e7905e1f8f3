// The real Korvale.exe as a separate process, from a directory whose name is not ASCII: its
// window is found, typed into and closed with window messages across processes, and the state
// file must appear beside the executable, then be restored by the next run.
// Usage: korvale_exe_tests PATH_TO_KORVALE_EXE
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "ui/win32/resource.h"

namespace {

namespace fs = std::filesystem;

fs::path g_korvale;

class Running {
 public:
  explicit Running(const fs::path& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    // Started from elsewhere: the state file must follow the executable, not the current directory.
    const std::wstring elsewhere = fs::temp_directory_path().wstring();
    if (!CreateProcessW(exe.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, elsewhere.c_str(), &startup, &process_)) {
      return;
    }
    WaitForInputIdle(process_.hProcess, 20000);
    // The window exists from CreateWindowEx on, but is shown only once start-up has filled it.
    for (int i = 0; i < 200 && window == nullptr; ++i) {
      HWND found = FindWindowW(L"KorvaleForm1", L"Korvale");
      if (found != nullptr && IsWindowVisible(found)) {
        window = found;
      } else {
        Sleep(100);
      }
    }
  }
  ~Running() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  std::string text(int controlId) const {
    char buffer[256] = {};
    SendMessageA(GetDlgItem(window, controlId), WM_GETTEXT, sizeof buffer,
                 reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  void type(int controlId, const std::wstring& keys) const {
    for (wchar_t key : keys) SendMessageW(GetDlgItem(window, controlId), WM_CHAR, key, 1);
  }
  bool closeAndWait() const {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_.hProcess, 20000) == WAIT_OBJECT_0;
  }

  HWND window = nullptr;

 private:
  PROCESS_INFORMATION process_{};
};

TEST(KorvaleExe, SavesBesideItselfAndRestoresOnTheNextRun) {
  std::random_device seed;
  const fs::path directory = fs::temp_directory_path() / (L"齿轮 " + std::to_wstring(seed()));
  fs::create_directories(directory);
  const fs::path exe = directory / L"Korvale.exe";
  fs::copy_file(g_korvale, exe);

  {
    Running korvale(exe);
    ASSERT_NE(korvale.window, nullptr) << "no window";
    EXPECT_EQ(korvale.text(IDC_TEXT1_0), "31.83");
    korvale.type(IDC_TEXT2_0, L"3");
    EXPECT_EQ(korvale.text(IDC_TEXT2_0), "203");
    EXPECT_EQ(korvale.text(IDC_TEXT1_0), "323.08");
    ASSERT_TRUE(korvale.closeAndWait());
  }
  std::ifstream in(directory / L"Rede.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "\"203\"\r\n\"5M\"\r\n");
  in.close();

  {
    Running korvale(exe);
    ASSERT_NE(korvale.window, nullptr);
    EXPECT_EQ(korvale.text(IDC_TEXT2_0), "203");
    EXPECT_EQ(korvale.text(IDC_TEXT1_1), "321.94") << "5M restored and selected";
    ASSERT_TRUE(korvale.closeAndWait());
  }
  std::error_code ignored;
  fs::remove_all(directory, ignored);
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) return 2;
  g_korvale = fs::absolute(argv[1]);
  return RUN_ALL_TESTS();
}
