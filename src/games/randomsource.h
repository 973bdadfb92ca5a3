// Where the game models and the end-of-game rule draw their random numbers.
// The windows hand in the clock-seeded source; tests hand in a scripted one,
// so every deal, mine field, fleet and shot can be replayed exactly.
#pragma once

#include <chrono>
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
    void Randomize() override
    {
        m_engine.seed(static_cast<std::mt19937::result_type>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    }
    int Random(int n) override
    {
        if (n <= 1)
            return 0;
        return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
    }

private:
    std::mt19937 m_engine{std::random_device{}()};
};
