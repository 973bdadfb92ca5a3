// The sea battle window's drawing: one repaint of the player's board after a
// change of every cell's picture, painted on the offscreen screen.
#include "seabattlelayout.h"
#include "tformsea.h"

#include "benchmain.h"
#include "windowbench.h"

#include <benchmark/benchmark.h>

namespace {

const char* const kBoards[2] = {
    "####.###.#|..........|###.##.##.|..........|##.#.#.#..|..........|..........|..........|..........|..........",
    "xxxx.***.*|oooooooooo|###.xx.**.|.o.o.o.o.o|##.#.#.#..|o.o.o.o.o.|..........|o..o..o..o|..........|.o.o.o.o.o",
};

void BM_PlayerBoardRepaint(benchmark::State& state)
{
    int which = 0;
    for (auto _ : state) {
        SeaBattleLayout::setBoard(FormSea->Battle, Board::Player, kBoards[which]);
        which = 1 - which;
        FormSea->repaint2();
        FormSea->RepaintNow();
    }
}
BENCHMARK(BM_PlayerBoardRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    WindowBench bench(argc, argv);
    CreateForm(FormSea);
    FormSea->Show();
    QCoreApplication::processEvents();
    return runBenchmarks(argc, argv);
}
