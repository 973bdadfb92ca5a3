// The computer's choice of target and its turn of shots.
#include "opponent.h"

Opponent::~Opponent() = default;

std::pair<int, int> ComputerOpponent::ChooseComputerTarget(RandomSource& random, Strength strength,
                                                           bool finishingMode, const ShipExtent& lastHit,
                                                           const SeaBattle& battle)
{
    // Drawn for every shot, even one the finishing search aims without it.
    random.Randomize();
    const int k = random.Random(90) + 1;

    if (finishingMode && strength == Strength::Professional) {
        std::pair<int, int> last{0, 0};
        for (int r = lastHit.top; r <= lastHit.bottom; ++r)
            for (int c = lastHit.left; c <= lastHit.right; ++c)
                if (battle.PlayerAt(r, c) == psShip)
                    last = {r, c};
        if (last.first != 0)
            return last;
        // A remembered ship always has an intact part left; should it not,
        // a random shot is still a legal one.
    }

    auto open = [&](int r, int c) { return battle.PlayerAt(r, c) == psEmpty || battle.PlayerAt(r, c) == psShip; };
    int n = 0;
    for (int r = 1; r <= SeaBattle::Size; ++r)
        for (int c = 1; c <= SeaBattle::Size; ++c)
            n += open(r, c);
    if (n == 0)
        return {0, 0};
    // Counting k cells round and round the board ends on this one.
    int wanted = (k - 1) % n + 1;
    for (int r = 1; r <= SeaBattle::Size; ++r)
        for (int c = 1; c <= SeaBattle::Size; ++c)
            if (open(r, c) && --wanted == 0)
                return {r, c};
    return {0, 0};
}

TurnEnd PlayComputerTurn(SeaBattle& battle, Opponent& opponent, RandomSource& random,
                         const std::function<Strength()>& strength, const ComputerTurnHooks& hooks)
{
    if (battle.Phase() != gpBattle)
        return TurnEnd::Ignored;
    // Nothing carries over from an earlier turn: a ship a beginner hit and
    // left afloat is found again only by chance.
    bool finishingMode = false;
    ShipExtent lastHit;
    // Every shot that does not end the turn fires at a cell not fired at
    // before, so the loop ends within a hundred shots.
    for (;;) {
        if (hooks.beforeShot)
            hooks.beforeShot();
        const Strength s = strength ? strength() : Strength::Professional;
        const auto [row, column] = opponent.ChooseComputerTarget(random, s, finishingMode, lastHit, battle);
        const ComputerShot shot = battle.ResolveComputerShot(row, column);
        if (hooks.afterShot)
            hooks.afterShot(shot);
        switch (shot.result) {
        case ShotResult::Hit:
            finishingMode = true;
            lastHit = shot.extent;
            break;
        case ShotResult::FatalHit: {
            const SinkResult sunk = battle.SinkShip(Board::Player, shot.extent);
            if (hooks.afterSink)
                hooks.afterSink(sunk);
            if (sunk == SinkResult::Lost)
                return TurnEnd::Lost;
            finishingMode = false;
            break;
        }
        case ShotResult::Miss:
            return TurnEnd::Missed;
        case ShotResult::Wasted:
        case ShotResult::Ignored:
            return TurnEnd::Ignored;
        }
    }
}
