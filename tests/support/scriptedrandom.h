// Random sources for tests of the models and of the windows that draw
// through them: prepared values, or a seeded engine for soaks. Needs Qt Core
// alone.
#pragma once

#include "randomsource.h"

#include <deque>
#include <random>
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

// Reproducible draws for soaks over many seeds.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(unsigned seed)
        : m_engine(seed)
    {
    }
    void Randomize() override { ++reseeds; }
    int Random(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(m_engine); }
    int reseeds = 0;

private:
    std::mt19937 m_engine;
};
