// The fifteen window's steady work: one tile move (model and the redraw of
// the board, painted) and one clock tick with the window on screen.
#include "tdigitaldisplay.h"
#include "tformfifteen.h"
#include "tmemoform.h"

#include <QTimer>

#include "benchmain.h"
#include "windowbench.h"

#include <benchmark/benchmark.h>

namespace {

// A tile next to the blank, so the board can move back and forth for ever.
int neighbourOfBlank()
{
    int blank = 1;
    while (FormFifteen->Board.TileAt(blank) != 16)
        ++blank;
    return blank > 4 ? blank - 4 : blank + 4;
}

void BM_TileMove(benchmark::State& state)
{
    FormFifteen->Board.Start();
    for (auto _ : state) {
        FormFifteen->Board.TryMove(neighbourOfBlank());
        FormFifteen->Redraw(false);
        QCoreApplication::processEvents(); // the deferred repaint of the tiles
    }
}
BENCHMARK(BM_TileMove)->Unit(benchmark::kMicrosecond);

void BM_TimerTick(benchmark::State& state)
{
    FormFifteen->Board.Start();
    for (auto _ : state) {
        FormFifteen->Timer1Timer();
        QCoreApplication::processEvents();
        if (FormFifteen->Board.Seconds() >= 998)
            FormFifteen->Board.Start();
    }
}
BENCHMARK(BM_TimerTick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    WindowBench bench(argc, argv);
    CreateForm(FormFifteen);
    FormFifteen->makeDialog(TGameDialog::NoRecord, QStringLiteral("Form15badover"));
    FormFifteen->makeDialog(TGameDialog::Record, QStringLiteral("Form15Over"));
    FormFifteen->makeDialog(TGameDialog::Table, QStringLiteral("Form15table"));
    CreateForm(MemoForm);
    FormFifteen->Timer1->stop();
    FormFifteen->Show();
    ClockRandom random;
    FormFifteen->Board.Deal(random);
    FormFifteen->Redraw(true);
    QCoreApplication::processEvents();
    return runBenchmarks(argc, argv);
}
