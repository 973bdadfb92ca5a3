// How long one paint of an active 300-pixel title bar with 255 bands takes:
// composing it off-screen alone, and a whole repaint of the bar's strip.
#include "tapplication.h"
#include "tform.h"
#include "tgradientcaption.h"

#include <QPainter>

#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

TForm* g_form = nullptr;

void BM_ComposeBar(benchmark::State& state)
{
    TGradientCaption* caption = g_form->GradientCaption1;
    QImage target(g_form->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        const QImage bar = caption->composeBar(true);
        const TCaptionLayout l = caption->layOut();
        QPainter p(&target);
        p.drawImage(l.bar.topLeft(), bar, l.bar);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ComposeBar)->Unit(benchmark::kMicrosecond);

void BM_RepaintBar(benchmark::State& state)
{
    const QRect strip(0, 0, g_form->width(), 3 + 19);
    for (auto _ : state)
        g_form->repaint(strip);
}
BENCHMARK(BM_RepaintBar)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv);
    TForm form(QStringLiteral("BenchForm"));
    form.setWindowTitle(QStringLiteral("Морской бой - лучшие результаты"));
    form.setBorderIcons(biSystemMenu | biMinimize);
    form.setClientSize(300, 200); // the bar is as wide as the client area
    form.show();
    form.activateWindow();
    QCoreApplication::processEvents();
    g_form = &form;

    return runBenchmarks(argc, argv);
}
