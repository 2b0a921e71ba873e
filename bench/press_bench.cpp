// One Calculate press in a real (offscreen) calculator window: from the mouse
// press to the display filled and styled and the results shown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <cstdlib>

#include "calculator/control_wnd.h"
#include "framework/controls.h"
#include "framework/runtime.h"

namespace {

void BM_CalculatePress(benchmark::State& state) {
  auto window = kestrova::ControlWnd::Instance();
  window->prevFld()->SetText(".1");
  window->senFld()->SetText(".9");
  window->specFld()->SetText(".9");
  QWidget* button = window->calcBtn()->Widget();
  for (auto _ : state) {
    QTest::mousePress(button, Qt::LeftButton);
    // Reading the text makes sure the display is written, not only gathered.
    benchmark::DoNotOptimize(window->ddFld()->Text().size());
    state.PauseTiming();
    QTest::mouseRelease(button, Qt::LeftButton);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CalculatePress)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// The same appends into a bare Qt text edit, for comparison.
void BM_BareTextEditAppends(benchmark::State& state) {
  auto window = kestrova::ControlWnd::Instance();
  QWidget* area = window->ddFld()->Widget();
  for (auto _ : state) {
    window->ddFld()->SetText("");
    auto* edit = qobject_cast<QTextEdit*>(area);
    QTextCursor cursor(edit->document());
    for (int i = 0; i < 1022; ++i) {
      cursor.movePosition(QTextCursor::End);
      cursor.insertText(i % 51 == 50 ? QStringLiteral("\r") : QStringLiteral("o "));
    }
    benchmark::DoNotOptimize(edit->document()->characterCount());
  }
}
BENCHMARK(BM_BareTextEditAppends)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  fw::RuntimeInit(argc, argv);
  fw::RunFrameworkInitialization([] {});
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
