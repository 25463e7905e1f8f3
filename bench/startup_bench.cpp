// Start-up under Xvfb: from process start to the window mapped on the X server, and the peak
// memory of the process by then, for the real korvale and for a minimal Qt window measured in
// the same run; and korvale --drive beside korvale, launched in turns, with "ratio" the drive
// window's time over the calculator's (the aim: at most 1.5). Needs DISPLAY (scripts/bench.sh
// provides an Xvfb).
// Usage: startup_bench PROGRAM MINIMAL_PROGRAM [benchmark flags]
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_programs[2];
Display* g_display = nullptr;

struct Launch {
  double secondsToMapped = 0;
  long peakKilobytes = 0;
};

// Starts the program, waits for a top-level window to be mapped, then ends the program.
Launch launchOnce(const std::string& program, const char* argument = nullptr) {
  Display* display = g_display;
  XSync(display, True);  // forget the events of earlier launches

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
    _exit(127);
  }
  for (XEvent event;;) {
    XNextEvent(display, &event);
    if (event.type == MapNotify) break;
  }
  const auto mapped = std::chrono::steady_clock::now();

  kill(child, SIGKILL);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return {std::chrono::duration<double>(mapped - start).count(), usage.ru_maxrss};
}

void BM_StartUpToWindowMapped(benchmark::State& state) {
  const std::string& program = g_programs[state.range(0)];
  double peak = 0;
  for (auto _ : state) {
    const Launch launch = launchOnce(program);
    state.SetIterationTime(launch.secondsToMapped);
    peak = std::max(peak, static_cast<double>(launch.peakKilobytes));
  }
  state.counters["peak_KiB"] = peak;
  state.SetLabel(state.range(0) == 0 ? "korvale" : "minimal QWidget");
}
BENCHMARK(BM_StartUpToWindowMapped)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

void BM_DriveWindowBesideTheCalculatorToMapped(benchmark::State& state) {
  double calculator = 0;
  double drive = 0;
  for (auto _ : state) {
    calculator += launchOnce(g_programs[0]).secondsToMapped;
    drive += launchOnce(g_programs[0], "--drive").secondsToMapped;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["calculator_ms"] = calculator / runs * 1e3;
  state.counters["drive_ms"] = drive / runs * 1e3;
  state.counters["ratio"] = drive / calculator;
}
BENCHMARK(BM_DriveWindowBesideTheCalculatorToMapped)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  benchmark::Initialize(&argc, argv);
  if (argc != 3 || std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "usage: DISPLAY=:N %s PROGRAM MINIMAL_PROGRAM\n", argv[0]);
    return 2;
  }
  g_programs[0] = argv[1];
  g_programs[1] = argv[2];
  g_display = XOpenDisplay(nullptr);
  if (g_display == nullptr) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  XSelectInput(g_display, DefaultRootWindow(g_display), SubstructureNotifyMask);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
