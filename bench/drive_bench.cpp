// The drive's solver and korvale-calc's output, each beside the floor it is measured against in
// the same run. Counters: "ratio" is the measured work over its floor. Aims: the centre distance
// from a belt at most 4 times one evaluation of the belt length; the whole drive with both stock
// belts under 2 µs, and with a load at most 1.5 times that; "pulley 5M 1-100000 --format csv" at
// most twice the floor (the same values computed, formatted with std::to_chars into one buffer and
// written with one fwrite).
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "calc/run_calc.h"
#include "core/belt_drive.h"
#include "core/belt_load.h"
#include "core/floor2.h"
#include "core/pulley_calculation.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double secondsFor(int count, Work work) {
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) work(i);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

const korvale::PulleyPair kDrive{korvale::FindBeltProfile("14M"), 28, 112};

// Belt lengths and centre distances over a realistic spread, so no answer is cached.
double centreNumber(int i) {
  return 400 + (i % 1000) * 0.7;
}
double lengthNumber(int i) {
  return 1800 + (i % 1000) * 1.4;
}

void BM_CentreFromBeltBesideOneLength(benchmark::State& state) {
  constexpr int kCount = 200000;
  double forward = 0;
  double solve = 0;
  // Each input waits for the previous answer (x - x is 0 but must be computed), so both sides
  // are timed from input to answer, one after the other, as a user's keystrokes would be.
  double previous = 0;
  for (auto _ : state) {
    forward += secondsFor(kCount, [&](int i) {
      previous = korvale::BeltPitchLength(kDrive, centreNumber(i) + (previous - previous));
    });
    solve += secondsFor(kCount, [&](int i) {
      previous = *korvale::CentreForLength(kDrive, lengthNumber(i) + (previous - previous));
    });
  }
  benchmark::DoNotOptimize(previous);
  const double runs = static_cast<double>(state.iterations()) * kCount;
  state.counters["length_ns"] = forward / runs * 1e9;
  state.counters["centre_ns"] = solve / runs * 1e9;
  state.counters["ratio"] = solve / forward;
}
BENCHMARK(BM_CentreFromBeltBesideOneLength)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_WholeDriveWithBothStockBelts(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    const korvale::DriveSolution drive =
        korvale::SolveDrive({kDrive, korvale::DriveGiven::Centre, centreNumber(i++)});
    benchmark::DoNotOptimize(drive.rows.data());
  }
}
BENCHMARK(BM_WholeDriveWithBothStockBelts);

// The same drive with a load, the width chosen among the stock widths, beside the drive without it
// in the same run (the aims: under 2 µs, and at most 1.5 times). L, so that the rating is worked
// out at each stock width.
void BM_WholeDriveWithLoadBesideWithout(benchmark::State& state) {
  const korvale::PulleyPair pulleys{korvale::FindBeltProfile("L"), 20, 40};
  korvale::LoadRequest load;
  load.power = 0.5;
  load.rpm = 1450;
  constexpr int kCount = 200000;
  double with = 0, without = 0;
  for (auto _ : state) {
    without += secondsFor(kCount, [&](int i) {
      const korvale::DriveSolution drive =
          korvale::SolveDrive({pulleys, korvale::DriveGiven::Centre, 300 + 0.001 * (i % 1000)});
      benchmark::DoNotOptimize(drive.rows.data());
    });
    with += secondsFor(kCount, [&](int i) {
      const korvale::DriveRequest request{pulleys, korvale::DriveGiven::Centre,
                                          300 + 0.001 * (i % 1000)};
      korvale::DriveSolution drive = korvale::SolveDrive(request);
      const korvale::LoadSolution figures = korvale::SolveLoad(request, load, drive);
      benchmark::DoNotOptimize(figures.rows.data());
    });
  }
  const double runs = static_cast<double>(state.iterations()) * kCount;
  state.counters["with_us"] = with / runs * 1e6;
  state.counters["without_us"] = without / runs * 1e6;
  state.counters["ratio"] = with / without;
}
BENCHMARK(BM_WholeDriveWithLoadBesideWithout)->Iterations(5)->Unit(benchmark::kMillisecond);

class FileSink : public korvale::report::OutputStream {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  bool write(std::string_view text) override {
    return std::fwrite(text.data(), 1, text.size(), file_) == text.size();
  }

 private:
  std::FILE* file_;
};

// The floor: the same rows, the window's rule, std::to_chars into one buffer, one fwrite.
void pulleyCsvFloor(std::FILE* out) {
  std::string buffer = "profile,teeth,D,Da,warnings\n";
  char number[32];
  for (int teeth = 1; teeth <= 100000; ++teeth) {
    const double d = teeth * 5.0 / korvale::kPitchCircleDivisor;
    buffer += "5M,";
    buffer.append(number, std::to_chars(number, number + 32, teeth).ptr);
    buffer += ',';
    buffer.append(number, std::to_chars(number, number + 32, korvale::Floor2(d)).ptr);
    buffer += ',';
    buffer.append(number, std::to_chars(number, number + 32, korvale::Floor2(d - 2 * 0.57)).ptr);
    buffer += teeth < 14 ? ",pulley_below_stock\n" : ",\n";
  }
  std::fwrite(buffer.data(), 1, buffer.size(), out);
}

void BM_PulleyCsvBesideItsFloor(benchmark::State& state) {
  std::FILE* devNull = std::fopen("/dev/null", "wb");
  FileSink sink(devNull);
  const std::vector<std::string_view> args = {"pulley", "5M", "1-100000", "--format", "csv"};
  double program = 0;
  double floor = 0;
  for (auto _ : state) {
    program += secondsFor(1, [&](int) { korvale::calc::RunCalc(args, sink, sink); });
    floor += secondsFor(1, [&](int) { pulleyCsvFloor(devNull); });
  }
  std::fclose(devNull);
  state.counters["program_ms"] = program / static_cast<double>(state.iterations()) * 1e3;
  state.counters["floor_ms"] = floor / static_cast<double>(state.iterations()) * 1e3;
  state.counters["ratio"] = program / floor;
}
BENCHMARK(BM_PulleyCsvBesideItsFloor)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
