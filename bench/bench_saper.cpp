// The minesweeper window's steady work: one cell opened by a click (the
// model, the cell's repaint on screen and the held cue's play call).
#include "minefieldlayout.h"
#include "tformsaper.h"
#include "tmemoform.h"

#include <QTimer>

#include "benchmain.h"
#include "windowbench.h"

#include <benchmark/benchmark.h>

namespace {

void BM_CellClick(benchmark::State& state)
{
    int next = 0;
    for (auto _ : state) {
        if (next == 98) {
            // All but the last safe cell open (the last would win): a fresh
            // field with its one mine at the end.
            state.PauseTiming();
            FormSaper->Field.Start();
            FormSaper->NewField();
            layMines(FormSaper->Field, {{10, 10}});
            next = 0;
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
        FormSaper->Panel1Click(++next);
        QCoreApplication::processEvents(); // the deferred repaint of the cell
    }
}
BENCHMARK(BM_CellClick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    WindowBench bench(argc, argv);
    CreateForm(FormSaper);
    CreateForm(FormSaperOptions);
    CreateForm(MemoForm);
    FormSaper->Timer1->stop();
    FormSaper->Show();
    FormSaper->NewGame();
    layMines(FormSaper->Field, {{10, 10}});
    QCoreApplication::processEvents();
    return runBenchmarks(argc, argv);
}
