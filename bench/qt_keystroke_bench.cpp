// The keystroke path of the real Qt window: from a key event delivered to the teeth entry to both
// result texts updated (offscreen platform, no display needed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "ui/qt/calculator_window.h"

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

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
