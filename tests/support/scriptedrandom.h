// Random sources for tests of the models and of the windows that draw
// through them: prepared values, or a seeded engine for soaks. Both write
// down every request, so a test can compare the whole sequence of re-seeds
// and ranges with the one the rules give. Needs Qt Core alone.
#pragma once

#include "randomsource.h"

#include <QList>

#include <deque>
#include <random>
#include <stdexcept>

class JournalledRandom : public RandomSource {
public:
    // Every request in order: 0 a re-seed, n > 0 a draw from 0..n - 1.
    QList<int> asked;
    int reseeds = 0;
    int draws = 0;

    void Randomize() final
    {
        asked.append(0);
        ++reseeds;
    }
    int Random(int n) final
    {
        if (n < 1)
            throw std::logic_error("random range below 1");
        asked.append(n);
        ++draws;
        return draw(n);
    }

protected:
    virtual int draw(int n) = 0;
};

// Gives the prepared values in order, then `fallback` reduced to the range.
// A prepared value outside the range asked for throws.
class ScriptedRandom : public JournalledRandom {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::deque<int> values)
        : values(std::move(values))
    {
    }
    std::deque<int> values;
    int fallback = 0;

protected:
    int draw(int n) override
    {
        if (values.empty())
            return fallback % n;
        const int v = values.front();
        values.pop_front();
        if (v < 0 || v >= n)
            throw std::logic_error("scripted random value out of range");
        return v;
    }
};

// Reproducible draws for soaks over many seeds.
class SeededRandom : public JournalledRandom {
public:
    explicit SeededRandom(unsigned seed)
        : m_engine(seed)
    {
    }

protected:
    int draw(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(m_engine); }

private:
    std::mt19937 m_engine;
};
