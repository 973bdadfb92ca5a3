// Where the game models and the end-of-game rule draw their random numbers.
// The windows hand in the clock-seeded source; tests hand in a scripted one,
// so every deal, mine field, fleet and shot can be replayed exactly.
#pragma once

#include <random>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Takes a new seed from the clock.
    virtual void Randomize() = 0;
    // A whole number from 0 to n - 1, each with equal chance (n >= 1).
    virtual int Random(int n) = 0;
};

class ClockRandom : public RandomSource {
public:
    ClockRandom();
    void Randomize() override;
    int Random(int n) override;

private:
    std::mt19937 m_engine;
};
