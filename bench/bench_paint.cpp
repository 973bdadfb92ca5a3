// What a real paint costs: the launcher's flat transparent button over the
// wallpaper, and a whole wallpaper panel of the size of the largest window.
#include "tapplication.h"
#include "tflatspeedbutton.h"
#include "tpanel.h"

#include <QEnterEvent>
#include <QImage>
#include <QPainter>

#include "benchmain.h"
#include "windowbench.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A launcher-like panel with the first game button on it.
struct Launcher {
    TWallpaper window;
    TFlatSpeedButton* button;

    explicit Launcher(bool hot)
    {
        window.resize(289, 144);
        window.setWallpaper(TWallpaper::sharedTile());
        button = new TFlatSpeedButton(&window);
        button->setGeometry(16, 24, 80, 54);
        button->setFlat(true);
        button->setTransparent(true);
        button->setGrayedInactive(false);
        button->setGlyph(QImage(QStringLiteral(":/images/glyph_fifteen.bmp")));
        button->setCaption(QStringLiteral("Пятнашки"));
        waitExposed(window);
        if (hot) {
            const QPointF local(10, 10);
            QEnterEvent enter(local, button->mapTo(&window, local), button->mapToGlobal(local));
            QCoreApplication::sendEvent(button, &enter);
        }
    }
};

void BM_FlatButtonRepaint(benchmark::State& state)
{
    Launcher launcher(state.range(0) != 0);
    for (auto _ : state)
        launcher.button->repaint();
    state.SetLabel(state.range(0) ? "under the mouse" : "away from the mouse");
}
BENCHMARK(BM_FlatButtonRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FlatButtonRender(benchmark::State& state)
{
    Launcher launcher(false);
    QImage target(80, 54, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        launcher.button->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_FlatButtonRender)->Unit(benchmark::kMicrosecond);

void BM_WallpaperRepaint(benchmark::State& state)
{
    TWallpaper window;
    window.resize(554, 366);
    window.setWallpaper(TWallpaper::sharedTile());
    waitExposed(window);
    for (auto _ : state)
        window.repaint();
}
BENCHMARK(BM_WallpaperRepaint)->Unit(benchmark::kMicrosecond);

void BM_WallpaperRender(benchmark::State& state)
{
    TWallpaper window;
    window.resize(554, 366);
    window.setWallpaper(TWallpaper::sharedTile());
    QImage target(554, 366, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_WallpaperRender)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
