// Layouts, each beside its floor in the same run. Counters: "ratio" is the work over its floor.
// Aims: one length evaluation of a 12-pulley layout under 2 µs; fitting the movable pulley to one
// belt (of the two either side, over the solve without a move) at most 6 times one evaluation;
// "korvale-calc layout" on a 12-pulley file at most twice "korvale-calc --version", the process's
// own start-up.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/belt_layout.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A CoreXY-like loop: eight 20-tooth 2GT pulleys round a 300 mm square and four 12 mm rollers on
// the belt's back pressing some 4 mm into its spans; the top-right pulley slides right.
korvale::Layout twelvePulleys() {
  using korvale::LayoutSide;
  korvale::Layout layout;
  layout.profile = korvale::FindBeltProfile("2GT");
  const auto toothed = [](const char* name, double x, double y) {
    return korvale::LayoutPulley{name, x, y, 20, 0, LayoutSide::Tooth, false};
  };
  const auto roller = [](const char* name, double x, double y) {
    return korvale::LayoutPulley{name, x, y, 0, 12, LayoutSide::Back, false};
  };
  layout.pulleys = {toothed("a", 0, 0),     roller("r1", 75, -9),   toothed("b", 150, 0),
                    toothed("c", 300, 0),   roller("r2", 309, 150), toothed("d", 300, 300),
                    toothed("e", 150, 300), roller("r3", 75, 309),  toothed("f", 0, 300),
                    toothed("g", -20, 200), roller("r4", -29, 100), toothed("h", -20, 50)};
  layout.move = korvale::LayoutMove{5, 1, 0};
  return layout;
}

template <typename Work>
double secondsFor(int count, Work work) {
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) work(i);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_OneEvaluationBesideFittingOneBelt(benchmark::State& state) {
  const korvale::Layout layout = twelvePulleys();
  korvale::LayoutRequest request{layout, {}, {}, 1};  // the stock belts either side
  korvale::LayoutRequest unfitted{layout, {}, {}, 1};
  unfitted.layout.move.reset();
  constexpr int kCount = 20000;
  double evaluation = 0, solve = 0, fit = 0;
  for (auto _ : state) {
    evaluation += secondsFor(kCount, [&](int i) {
      benchmark::DoNotOptimize(korvale::LayoutLengthAt(layout, 1e-6 * (i % 100), false));
    });
    solve += secondsFor(
        kCount, [&](int) { benchmark::DoNotOptimize(korvale::SolveLayout(unfitted).path.length); });
    fit += secondsFor(
        kCount, [&](int) { benchmark::DoNotOptimize(korvale::SolveLayout(request).fits.size()); });
  }
  const double runs = static_cast<double>(state.iterations()) * kCount;
  state.counters["evaluation_us"] = evaluation / runs * 1e6;
  state.counters["solve_us"] = solve / runs * 1e6;
  // Two belts fitted: the shorter and the longer.
  state.counters["fit_us"] = (fit - solve) / 2 / runs * 1e6;
  state.counters["ratio"] = (fit - solve) / 2 / evaluation;
}
BENCHMARK(BM_OneEvaluationBesideFittingOneBelt)->Iterations(5)->Unit(benchmark::kMillisecond);

double secondsToRun(const std::vector<std::string>& words, int count) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
  return secondsFor(count, [&](int) {
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
      int status = 0;
      waitpid(child, &status, 0);
    }
  });
}

void BM_LayoutCommandBesideVersion(benchmark::State& state) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "korvale-bench.layout";
  {
    std::ofstream out(file);
    out << "profile 2GT\n";
    for (const korvale::LayoutPulley& pulley : twelvePulleys().pulleys) {
      out << "pulley " << pulley.name << " " << pulley.x << " " << pulley.y << " "
          << (pulley.teeth > 0 ? std::to_string(pulley.teeth) : std::string("d=12 back")) << "\n";
    }
    out << "move d 1 0\n";
  }
  double layout = 0, version = 0;
  for (auto _ : state) {
    version += secondsToRun({KORVALE_CALC, "--version"}, 50);
    layout += secondsToRun({KORVALE_CALC, "layout", file.string()}, 50);
  }
  std::filesystem::remove(file);
  state.counters["ratio"] = layout / version;
}
BENCHMARK(BM_LayoutCommandBesideVersion)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
