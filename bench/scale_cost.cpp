// What a display scale of 2 costs the sea battle window against scale 1:
// start-up (from main() to the window's first paint on the offscreen screen)
// and one repaint of the whole window, measured in one run. Qt takes the
// scale when the application starts, so each measurement is a child process
// of this program with QT_SCALE_FACTOR set; the scales take turns, seven
// rounds, and the medians are printed. Run it from build/bench.
#include "tformsea.h"
#include "tpanel.h"
#include "windowbench.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 7;
constexpr int kRepaints = 40;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One child: prints its start-up and median repaint time in milliseconds.
int measure(int argc, char** argv, const QElapsedTimer& sinceMain)
{
    WindowBench bench(argc, argv);
    CreateForm(FormSea);
    FormSea->Show();
    waitExposed(*FormSea);
    const double startup = sinceMain.nsecsElapsed() / 1e6;
    std::vector<double> repaints;
    for (int i = 0; i < kRepaints; ++i) {
        QElapsedTimer timer;
        timer.start();
        // Everything: the frame and title bar, the wallpaper and every control on it.
        FormSea->update();
        FormSea->Wallpaper1->update();
        FormSea->RepaintNow();
        repaints.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("%.2f %.3f\n", startup, median(repaints));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (argc > 1 && std::string(argv[1]) == "--child")
        return measure(argc, argv, sinceMain);

    const char* scales[] = {"1", "2"};
    std::vector<double> startup[2], repaint[2];
    for (int round = 0; round < kRounds; ++round) {
        for (int s = 0; s < 2; ++s) {
            const std::string command =
                "QT_SCALE_FACTOR=" + std::string(scales[s]) + " '" + argv[0] + "' --child";
            FILE* child = popen(command.c_str(), "r");
            double up = 0, paint = 0;
            if (!child || std::fscanf(child, "%lf %lf", &up, &paint) != 2) {
                std::fprintf(stderr, "the child at scale %s gave no figures\n", scales[s]);
                return 1;
            }
            pclose(child);
            startup[s].push_back(up);
            repaint[s].push_back(paint);
        }
    }
    std::printf("sea battle window, median of %d runs (repaint: median of %d per run)\n", kRounds, kRepaints);
    for (int s = 0; s < 2; ++s)
        std::printf("scale %s: start-up %7.1f ms   repaint %6.2f ms\n", scales[s], median(startup[s]),
                    median(repaint[s]));
    std::printf("scale 2 / scale 1: start-up %.2f x   repaint %.2f x\n", median(startup[1]) / median(startup[0]),
                median(repaint[1]) / median(repaint[0]));
    return 0;
}
