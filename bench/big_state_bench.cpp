// A 100 MB Rede.txt: the form's start-up (read, restore, recompute) and close (save), and the
// same through the Qt window on the offscreen platform (shown, then closed), each beside reading
// and writing the same bytes with plain read() and write() (the write made durable with fsync, as
// the save is) in the same run. The counter "ratio" is that time over the plain one; the aim for
// the form is at most 3. The window adds Qt's one layout of the text when it is set.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>

#include "ui/calculator/form1.h"
#include "ui/qt/calculator/calculator_window.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBytes = 100'000'000;

class SilentFrontEnd : public korvale::ui::FrontEnd {
 public:
  void makeTopmost() override {}
  void showErrorReport(const std::string&, const std::string&) override {}
  void endProgram() override {}
};

struct Folder {
  Folder() {
    fs::create_directories(path);
    // A teeth text of 100 MB that computes ("20" and letters), and a listed pitch.
    std::ofstream(path / "Rede.txt", std::ios::binary)
        << '"' << "20" << std::string(kBytes - 2, 'x') << "\"\r\n\"5M\"\r\n";
  }
  ~Folder() { fs::remove_all(path); }
  fs::path path = fs::temp_directory_path() / "korvale-big-state-bench";
};

double plainReadSeconds(const fs::path& file, std::string& bytes) {
  const auto start = std::chrono::steady_clock::now();
  const int fd = ::open(file.c_str(), O_RDONLY);
  bytes.resize(fs::file_size(file));
  std::size_t got = 0;
  for (ssize_t n;
       got < bytes.size() && (n = ::read(fd, bytes.data() + got, bytes.size() - got)) > 0;)
    got += static_cast<std::size_t>(n);
  ::close(fd);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double plainWriteSeconds(const fs::path& file, const std::string& bytes) {
  const auto start = std::chrono::steady_clock::now();
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::fsync(fd);
  ::close(fd);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times the start-up and the close that `run` makes over a fresh 100 MB Rede.txt, each beside
// plain reading and writing of it: start_ratio is start-up over reading, close_ratio close over
// writing. `run` takes the state file and a clock it calls between start-up and close.
template <class Run>
void besidePlainInputOutput(benchmark::State& state, Run run) {
  Folder folder;
  double read = 0, written = 0, started = 0, closed = 0;
  for (auto _ : state) {
    std::string bytes;
    read += plainReadSeconds(folder.path / "Rede.txt", bytes);
    written += plainWriteSeconds(folder.path / "plain.txt", bytes);
    auto start = Clock::now();
    run(korvale::StateFile(folder.path.string()), [&] {
      started += secondsSince(start);
      start = Clock::now();
    });
    closed += secondsSince(start);
  }
  state.counters["start_s"] = started / static_cast<double>(state.iterations());
  state.counters["close_s"] = closed / static_cast<double>(state.iterations());
  state.counters["start_ratio"] = started / read;
  state.counters["close_ratio"] = closed / written;
}

void BM_FormStartUpAndCloseWithA100MegabyteFile(benchmark::State& state) {
  besidePlainInputOutput(state, [&state](korvale::StateFile file, auto started) {
    SilentFrontEnd frontEnd;
    korvale::ui::Form1 window(frontEnd, std::move(file));
    window.load();
    window.windowShown();
    if (window.Text1(0).text() != "31.83") state.SkipWithError("not restored");
    started();
    window.close();
  });
}
BENCHMARK(BM_FormStartUpAndCloseWithA100MegabyteFile)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_QtWindowStartUpAndCloseWithA100MegabyteFile(benchmark::State& state) {
  besidePlainInputOutput(state, [](korvale::StateFile file, auto started) {
    korvale::ui::qt::CalculatorWindow calculator(std::move(file),
                                                 [](QWidget*, const QString&, const QString&) {});
    calculator.show();
    QApplication::processEvents();
    started();
    calculator.close();
    QApplication::processEvents();
  });
}
BENCHMARK(BM_QtWindowStartUpAndCloseWithA100MegabyteFile)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
