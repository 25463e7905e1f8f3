// The recompute on every keystroke, and the reading of a pasted megabyte-long number, each beside
// the same work done the naive way (std::stod, std::ostringstream) so the ratio shows.
#include <benchmark/benchmark.h>

#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>

#include "core/pulley_calculation.h"
#include "core/text_value.h"

namespace {

void BM_RecomputeDesignInputs(benchmark::State& state) {
  double PitchDia = 0;
  for (auto _ : state) {
    const korvale::DiameterTexts texts = korvale::ComputeDiameters("20", "5M", 1, PitchDia);
    benchmark::DoNotOptimize(texts.tipCircle.data());
  }
}
BENCHMARK(BM_RecomputeDesignInputs);

std::string naiveText(double x) {
  std::ostringstream out;
  out << std::setprecision(15) << x;
  return out.str();
}

void BM_RecomputeDesignInputsNaive(benchmark::State& state) {
  const std::string teeth = "20";
  const std::string pitch = "5M";
  for (auto _ : state) {
    const double d = std::stod(teeth) * std::stod(pitch) / 3.141592654;
    std::string pitchCircle = naiveText(std::floor(d * 100) / 100);
    std::string tipCircle = naiveText(std::floor((d - 2 * 0.57) * 100) / 100);
    benchmark::DoNotOptimize(pitchCircle.data());
    benchmark::DoNotOptimize(tipCircle.data());
  }
}
BENCHMARK(BM_RecomputeDesignInputsNaive);

// Typing "123456.789" into the teeth entry: ten keystrokes, ten recomputes.
void BM_TenKeystrokes(benchmark::State& state) {
  const std::string typed = "123456.789";
  double PitchDia = 0;
  for (auto _ : state) {
    for (std::size_t n = 1; n <= typed.size(); ++n) {
      const korvale::DiameterTexts texts =
          korvale::ComputeDiameters(std::string_view(typed).substr(0, n), "5M", 1, PitchDia);
      benchmark::DoNotOptimize(texts.tipCircle.data());
    }
  }
}
BENCHMARK(BM_TenKeystrokes);

const std::string& megabyteNumber() {
  static const std::string text = "0." + std::string(1 << 20, '3');
  return text;
}

void BM_TextValuePastedMegabyte(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(korvale::TextValue(megabyteNumber()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * megabyteNumber().size()));
}
BENCHMARK(BM_TextValuePastedMegabyte)->Unit(benchmark::kMillisecond);

void BM_TextValuePastedMegabyteNaive(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(std::stod(megabyteNumber()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * megabyteNumber().size()));
}
BENCHMARK(BM_TextValuePastedMegabyteNaive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
