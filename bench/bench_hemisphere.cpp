// What the hemisphere button costs: building the pictures of a sea battle
// lamp and of a large button with a glyph wrapped over its dome, and one
// repaint of a lamp over the wallpaper.
#include "tapplication.h"
#include "themispherebutton.h"
#include "tpanel.h"

#include "benchmain.h"
#include "windowbench.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void makeLamp(THemisphereButton& lamp)
{
    lamp.setBevelOuter(hbLowered);
    lamp.setBevelWidth(2);
    lamp.setFaceColor(QColor(255, 0, 0));
    lamp.SetBounds(0, 0, 9, 9);
}

// Four 16 × 16 cells of stripes and a key-coloured background.
QImage glyphStrip()
{
    QImage strip(64, 16, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 255));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x / 4 + y / 4) % 2 == 0)
                strip.setPixel(x, y, qRgb(40 * (x / 16), 200, 255 - 16 * y));
    return strip;
}

void BM_BuildLamp(benchmark::State& state)
{
    THemisphereButton lamp;
    makeLamp(lamp);
    for (auto _ : state)
        lamp.BuildImages();
}
BENCHMARK(BM_BuildLamp)->Unit(benchmark::kMicrosecond);

void BM_BuildWrappedGlyph(benchmark::State& state)
{
    THemisphereButton button;
    button.SetBounds(0, 0, 64, 64);
    button.setBevelOuter(hbRaised);
    button.setBevelInner(hbLowered);
    button.setGlyph(glyphStrip());
    button.setGlyphIndex(2);
    button.setGlyphMapped(true);
    for (auto _ : state)
        button.BuildImages();
}
BENCHMARK(BM_BuildWrappedGlyph)->Unit(benchmark::kMicrosecond);

void BM_LampRepaint(benchmark::State& state)
{
    TWallpaper window;
    window.resize(200, 60);
    window.setWallpaper(TWallpaper::sharedTile());
    auto* lamp = new THemisphereButton(&window);
    makeLamp(*lamp);
    lamp->move(80, 24);
    lamp->setEnabled(false);
    waitExposed(window);
    // Each repaint draws the wallpaper under the lamp, then the lamp.
    for (auto _ : state)
        lamp->repaint();
}
BENCHMARK(BM_LampRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
