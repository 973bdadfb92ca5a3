// The sea battle window's drawing: one repaint of the player's board after a
// change of every cell's picture, painted on the offscreen screen.
#include "tapplication.h"
#include "tformsea.h"
#include "ttop.h"

#include <QDir>
#include <QTemporaryDir>

#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

const char* const kBoards[2] = {
    "####.###.#|..........|###.##.##.|..........|##.#.#.#..|..........|..........|..........|..........|..........",
    "xxxx.***.*|oooooooooo|###.xx.**.|.o.o.o.o.o|##.#.#.#..|o.o.o.o.o.|..........|o..o..o..o|..........|.o.o.o.o.o",
};

void BM_PlayerBoardRepaint(benchmark::State& state)
{
    int which = 0;
    for (auto _ : state) {
        FormSea->Battle.SetBoard(Board::Player, kBoards[which]);
        which = 1 - which;
        FormSea->repaint2();
        FormSea->RepaintNow();
    }
}
BENCHMARK(BM_PlayerBoardRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    TApplication app(argc, argv);
    QTemporaryDir dir;
    scorefiles::setProgramPath(dir.filePath(QStringLiteral("tivorama")));
    // The cell pictures lie in the build root, beside the program.
    QDir::setCurrent(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    CreateForm(FormSea);
    FormSea->Show();
    QCoreApplication::processEvents();
    return runBenchmarks(argc, argv);
}
