// Cost of redrawing a game window's counter display: a forced repaint of
// "000", and the once-a-second text change that the game timers make.
#include "tapplication.h"
#include "tdigitaldisplay.h"

#include <QCoreApplication>
#include <QWindow>

#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A shown 41 x 25 centred display, as every game window has.
struct Counter {
    TDigitalDisplay display;
    Counter()
    {
        display.resize(41, 25);
        display.setAlignment(taCenter);
        display.setText(QStringLiteral("000"));
        display.show();
        // Repaints do nothing until the platform has exposed the window.
        for (int i = 0; i < 1000 && !display.windowHandle()->isExposed(); ++i)
            QCoreApplication::processEvents();
    }
};

void BM_RedrawCounter(benchmark::State& state)
{
    Counter counter;
    const int before = counter.display.redrawCount();
    for (auto _ : state)
        counter.display.repaint();
    // A repaint of a window that is not exposed does nothing and would
    // measure nothing.
    if (counter.display.redrawCount() - before != int(state.iterations()))
        state.SkipWithError("the display did not paint");
}
BENCHMARK(BM_RedrawCounter);

void BM_CounterTick(benchmark::State& state)
{
    Counter counter;
    const QString texts[] = {QStringLiteral("001"), QStringLiteral("002")};
    int i = 0;
    for (auto _ : state)
        counter.display.setText(texts[i++ & 1]);
}
BENCHMARK(BM_CounterTick);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
