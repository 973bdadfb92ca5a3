// A computer opponent for window tests: fires at the cells it is told, in
// order.
#pragma once

#include "opponent.h"

#include <deque>
#include <utility>

class ScriptedOpponent : public Opponent {
public:
    std::pair<int, int> ChooseComputerTarget(RandomSource&, Strength, bool, const ShipExtent&, const SeaBattle&) override
    {
        const auto target = targets.front();
        targets.pop_front();
        return target;
    }
    std::deque<std::pair<int, int>> targets;
};
