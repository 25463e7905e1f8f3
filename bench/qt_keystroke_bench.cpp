// The keystroke path of the real Qt window: from a key event delivered to the teeth entry to both
// result texts updated (offscreen platform, no display needed). Beside it, in the same run, the
// belt-drive window's keystroke to its results and drawing repainted, each window's pending paint
// done: "ratio" is the drive's over the calculator's (the aims: at most 1 ms, and 3 times).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <filesystem>

#include "ui/qt/calculator/calculator_window.h"
#include "ui/qt/drive/drive_window.h"

namespace {

void BM_KeystrokeToBothResults(benchmark::State& state) {
  const auto directory = std::filesystem::temp_directory_path() / "korvale-bench";
  std::filesystem::create_directories(directory);
  korvale::ui::qt::CalculatorWindow window{korvale::StateFile(directory.string()),
                                           [](QWidget*, const QString&, const QString&) {}};
  window.show();
  QLineEdit* teeth = window.textBox(korvale::ui::ControlId::Text2_0);
  QLineEdit* tip = window.textBox(korvale::ui::ControlId::Text1_1);
  teeth->setFocus();
  bool typeDigit = true;
  for (auto _ : state) {
    // Alternately a digit and Backspace, so the entry stays short: "20" -> "207" -> "20".
    QTest::keyClick(teeth, typeDigit ? Qt::Key_7 : Qt::Key_Backspace);
    typeDigit = !typeDigit;
    benchmark::DoNotOptimize(tip->text().size());
  }
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_KeystrokeToBothResults)->Unit(benchmark::kMicrosecond);

// One keystroke into a box and everything it changes painted: alternately a digit and Backspace.
template <class Window>
double secondsPerKeystroke(Window& window, QLineEdit* box, int count) {
  window.show();
  box->setFocus();
  QApplication::processEvents();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    QTest::keyClick(box, i % 2 == 0 ? Qt::Key_7 : Qt::Key_Backspace);
    QApplication::processEvents();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / count;
}

// The drive window's keystrokes into one box beside the calculator's, in the same run.
void driveBesideCalculator(benchmark::State& state,
                           const std::optional<korvale::DriveInputs>& inputs,
                           korvale::ui::DriveField field) {
  const auto directory = std::filesystem::temp_directory_path() / "korvale-bench-drive";
  std::filesystem::create_directories(directory);
  korvale::ui::qt::CalculatorWindow calculator{korvale::StateFile(directory.string()),
                                               [](QWidget*, const QString&, const QString&) {}};
  korvale::ui::qt::DriveWindow drive{korvale::DriveFile(directory.string()), inputs,
                                     [](QWidget*, const QString&, const QString&) {}};
  double calculatorSeconds = 0;
  double driveSeconds = 0;
  for (auto _ : state) {
    calculatorSeconds +=
        secondsPerKeystroke(calculator, calculator.textBox(korvale::ui::ControlId::Text2_0), 200);
    driveSeconds += secondsPerKeystroke(drive, drive.textBox(field), 200);
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["calculator_us"] = calculatorSeconds / runs * 1e6;
  state.counters["drive_us"] = driveSeconds / runs * 1e6;
  state.counters["ratio"] = driveSeconds / calculatorSeconds;
  std::filesystem::remove_all(directory);
}

void BM_DriveKeystrokeBesideTheCalculators(benchmark::State& state) {
  driveBesideCalculator(state, std::nullopt, korvale::ui::DriveField::Z2);
}
BENCHMARK(BM_DriveKeystrokeBesideTheCalculators)->Iterations(5)->Unit(benchmark::kMillisecond);

// The same with a load given (L, rated, its width chosen), typed into the power's box: the aim is
// still 3 times the calculator's keystroke.
void BM_LoadedDriveKeystrokeBesideTheCalculators(benchmark::State& state) {
  korvale::DriveInputs inputs;
  inputs.profile = "L";
  inputs.z1 = "20";
  inputs.z2 = "40";
  inputs.value = "300";
  inputs.load.power = "0.5";
  inputs.load.rpm = "1450";
  driveBesideCalculator(state, inputs, korvale::ui::DriveField::Power);
}
BENCHMARK(BM_LoadedDriveKeystrokeBesideTheCalculators)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
