// The programs' sizes in bytes, each beside the size it is held to where it has one:
// korvale-calc.exe at most 300 KB and the 32-bit Korvale.exe at most 1 MB; the Linux programs
// and the 64-bit Windows ones reported beside them.
//   size_bench PROGRAM...
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

double limitFor(const std::filesystem::path& program) {
  const std::string name = program.filename().string();
  const bool thirtyTwoBit = program.string().find("mingw32") != std::string::npos;
  if (name == "korvale-calc.exe") return 300e3;
  if (name == "Korvale.exe" && thirtyTwoBit) return 1e6;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path program = argv[i];
    std::error_code error;
    const auto bytes = static_cast<double>(std::filesystem::file_size(program, error));
    if (error) continue;
    const double limit = limitFor(program);
    benchmark::RegisterBenchmark(
        ("Size/" + program.parent_path().parent_path().filename().string() + "/" +
         program.filename().string())
            .c_str(),
        [bytes, limit](benchmark::State& state) {
          for (auto _ : state) benchmark::DoNotOptimize(bytes);
          state.counters["bytes"] = bytes;
          if (limit > 0) {
            state.counters["limit"] = limit;
            state.counters["within"] = bytes <= limit ? 1 : 0;
          }
        })
        ->Iterations(1);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
