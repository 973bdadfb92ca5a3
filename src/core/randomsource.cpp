// The clock-seeded random source the windows use.
#include "randomsource.h"

#include <chrono>

ClockRandom::ClockRandom()
    : m_engine(std::random_device{}())
{
}

void ClockRandom::Randomize()
{
    m_engine.seed(static_cast<std::mt19937::result_type>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

int ClockRandom::Random(int n)
{
    if (n <= 1)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
}
