// A huge paste into the teeth entry: from Ctrl+V to both results updated, beside a bare QLineEdit
// given the same text in the same run, so that Korvale's own share of the work shows. Each case
// also reports the peak memory of a fresh process that makes one such paste ("peak_MB").
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/temporary_directory.h"
#include "ui/qt/calculator/calculator_window.h"
#include "ui/qt/calculator/fonts.h"

namespace {

// Two numbers of `megabytes` digits that differ in their last digit, so that every paste changes
// the text.
QString digits(int megabytes, char last) {
  QString text(megabytes * 1000 * 1000, QLatin1Char('1'));
  text[text.size() - 1] = QLatin1Char(last);
  return text;
}

void pasteOver(QLineEdit* edit, const QString& text) {
  QApplication::clipboard()->setText(text);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

// The entry to paste into: a bare QLineEdit, or the teeth entry of a real calculator window.
struct Target {
  explicit Target(bool korvale) {
    if (korvale) {
      window = std::make_unique<korvale::ui::qt::CalculatorWindow>(
          korvale::StateFile(directory.u8path()), [](QWidget*, const QString&, const QString&) {});
      window->show();
      edit = window->textBox(korvale::ui::ControlId::Text2_0);
    } else {
      // The same font and size as the teeth entry: laying out the text is the toolkit's work,
      // and its cost depends on both.
      const auto& teeth = korvale::ui::Form1Description().control(korvale::ui::ControlId::Text2_0);
      bare = std::make_unique<QLineEdit>();
      bare->setFont(korvale::ui::qt::fontFor(teeth.font));
      bare->resize(korvale::ui::twipsToPixels(teeth.bounds.width, 96),
                   korvale::ui::twipsToPixels(teeth.bounds.height, 96));
      bare->setMaxLength(std::numeric_limits<int>::max());
      bare->show();
      edit = bare.get();
    }
    edit->setFocus();
  }
  korvale::testing::TemporaryDirectory directory;
  std::unique_ptr<korvale::ui::qt::CalculatorWindow> window;
  std::unique_ptr<QLineEdit> bare;
  QLineEdit* edit = nullptr;
};

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs this program again to make one paste in a fresh process; its peak memory in megabytes.
double peakMegabytesOfOnePaste(bool korvale, int megabytes) {
  const std::string command = "/proc/" + std::to_string(getpid()) + "/exe --one-paste " +
                              (korvale ? "korvale " : "bare ") + std::to_string(megabytes);
  FILE* child = popen(command.c_str(), "r");
  if (child == nullptr) return 0;
  double peak = 0;
  if (std::fscanf(child, "%lf", &peak) != 1) peak = 0;
  pclose(child);
  return peak;
}

void BM_Paste(benchmark::State& state) {
  const bool korvale = state.range(0) != 0;
  const int megabytes = static_cast<int>(state.range(1));
  Target target(korvale);
  const QString texts[] = {digits(megabytes, '2'), digits(megabytes, '3')};
  int next = 0;
  for (auto _ : state) {
    pasteOver(target.edit, texts[next]);
    next ^= 1;
    state.PauseTiming();
    target.edit->setText(target.edit->text());  // clears the undo history between pastes
    state.ResumeTiming();
  }
  state.SetLabel(korvale ? "korvale teeth entry" : "bare QLineEdit");
  state.counters["peak_MB"] = peakMegabytesOfOnePaste(korvale, megabytes);
}
BENCHMARK(BM_Paste)
    ->ArgsProduct({{0, 1}, {1, 10}})
    ->ArgNames({"korvale", "MB"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--one-paste") == 0) {
    Target target(std::strcmp(argv[2], "korvale") == 0);
    pasteOver(target.edit, digits(std::atoi(argv[3]), '2'));
    std::printf("%.1f\n", static_cast<double>(peakKilobytes()) / 1024.0);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
