// The computer's whole turn without sounds or drawing: target choices and
// their resolution through the turn driver, from one mid-game board, at
// either strength. The clock-seeded source re-seeds before every shot, as in
// the window.
#include "opponent.h"
#include "randomsource.h"
#include "seabattle.h"
#include "seabattlelayout.h"

#include "benchmain.h"

#include <benchmark/benchmark.h>

namespace {

// One ship sunk, one hit, a few misses; nine ships still afloat.
SeaBattle midGame()
{
    SeaBattle game;
    SeaBattleLayout::setBoard(game, Board::Player,
                              "****o###..|ooooo..o..|#.##.#..#.|x....#..#.|#...o.....|"
                              "...#..o...|.o....#...|........o.|...o.....#|#.........");
    SeaBattleLayout::setPhase(game, gpBattle);
    return game;
}

void BM_ComputerTurn(benchmark::State& state)
{
    const Strength chosen = state.range(0) ? Strength::Professional : Strength::Beginner;
    const std::function<Strength()> strength = [chosen] { return chosen; };
    const SeaBattle start = midGame();
    ClockRandom random;
    ComputerOpponent opponent;
    const ComputerTurnHooks noHooks;

    // How long a turn is on average, counted once outside the timing.
    int shots = 0;
    const ComputerTurnHooks counting{{}, [&shots](const ComputerShot&) { ++shots; }, {}};
    constexpr int kSample = 10000;
    for (int i = 0; i < kSample; ++i) {
        SeaBattle game = start;
        PlayComputerTurn(game, opponent, random, strength, counting);
    }
    state.counters["shots_per_turn"] = double(shots) / kSample;

    for (auto _ : state) {
        SeaBattle game = start;
        benchmark::DoNotOptimize(PlayComputerTurn(game, opponent, random, strength, noHooks));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputerTurn)->ArgName("professional")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
