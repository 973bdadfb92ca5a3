// A random source that hands out prepared values, for tests of the models
// and of the windows that draw through them. Needs Qt Core alone.
#pragma once

#include "randomsource.h"

#include <deque>
#include <stdexcept>

class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::deque<int> values)
        : values(std::move(values))
    {
    }
    void Randomize() override { ++reseeds; }
    int Random(int n) override
    {
        ++draws;
        if (values.empty())
            return fallback % n;
        const int v = values.front();
        values.pop_front();
        if (v < 0 || v >= n)
            throw std::logic_error("scripted random value out of range");
        return v;
    }
    std::deque<int> values;
    int fallback = 0;
    int reseeds = 0;
    int draws = 0;
};
