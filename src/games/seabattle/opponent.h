// The computer's side of the sea battle: where it fires, and the turn that
// the window and the tests both run, so its order of events exists once.
#pragma once

#include "randomsource.h"
#include "seabattle.h"

#include <functional>
#include <utility>

enum class Strength { Beginner, Professional };

// Where the computer fires next on the player's board: a (row, column) that
// holds water or an intact ship part, {0, 0} when no such cell is left.
// Tests stand in an opponent of their own that fires where it is told.
class Opponent {
public:
    virtual ~Opponent();
    virtual std::pair<int, int> ChooseComputerTarget(RandomSource& random, Strength strength, bool finishingMode,
                                                     const ShipExtent& lastHit, const SeaBattle& battle) = 0;
};

// Re-seeds and draws k from 1 to 90 for every shot. The professional
// finishing a ship takes the last intact part of `lastHit` in reading order;
// otherwise the target is the k-th cell not yet fired at, counting in
// reading order and starting again at the top left when the count runs out.
class ComputerOpponent : public Opponent {
public:
    std::pair<int, int> ChooseComputerTarget(RandomSource& random, Strength strength, bool finishingMode,
                                             const ShipExtent& lastHit, const SeaBattle& battle) override;
};

// The window's cues and repaints during the computer's turn. Each may be
// empty. For every shot, in this order:
// - beforeShot: nothing of the shot has happened yet; the board shows the
//   outcome of the previous shot (and of its sinking). The strength is read
//   and the target chosen after it returns.
// - afterShot: the shot is resolved: the cell holds psMiss or psHit. After a
//   fatal hit the whole ship still shows as hit, its sinking still to come;
//   after a miss (or an ignored shot, which changes nothing) this is the
//   turn's last call.
// - afterSink (fatal hits only): SinkShip has run: the ship is psSunk, the
//   water round it psMiss and PlayerSunk counts it; for SinkResult::Lost the
//   phase is already gpIdle and this is the turn's last call.
struct ComputerTurnHooks {
    std::function<void()> beforeShot;
    std::function<void(const ComputerShot&)> afterShot;
    std::function<void(SinkResult)> afterSink;
};

// Missed: the turn ended with a miss and the player fires next. Lost: the
// player's last ship sank. Ignored: there was no battle to fire in (or a
// shot was refused, which only a scripted opponent can cause).
enum class TurnEnd { Missed, Lost, Ignored };

// Runs the computer's whole turn: shots until a miss or the loss of the
// player's tenth ship, each aimed with draws from `random`. `strength` is
// asked before every shot, so a change of the menu takes effect at the next
// shot; an empty one means professional.
TurnEnd PlayComputerTurn(SeaBattle& battle, Opponent& opponent, RandomSource& random,
                         const std::function<Strength()>& strength, const ComputerTurnHooks& hooks = {});
