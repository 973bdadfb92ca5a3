// The deal, the moves, the solved test and the clock of the fifteen puzzle.
#include "fifteenboard.h"

#include <utility>

namespace {

constexpr int kWalkSteps = 255;

int row(int p)
{
    return (p - 1) / 4 + 1;
}

int column(int p)
{
    return (p - 1) % 4 + 1;
}

} // namespace

void FifteenBoard::Deal(RandomSource& random)
{
    for (int p = 1; p <= Squares; ++p)
        m_tiles[p - 1] = static_cast<std::uint8_t>(17 - p);
    random.Randomize();
    // Every step is a legal slide, so the deal stays solvable; an odd number
    // of steps from an even square leaves the blank on an odd one, which
    // rules out the solved board.
    int blank = 1;
    for (int step = 0; step < kWalkSteps; ++step) {
        std::array<int, 4> candidates{};
        int n = 0;
        if (blank > 4)
            candidates[n++] = blank - 4;
        if (blank < 13)
            candidates[n++] = blank + 4;
        if (column(blank) != 1)
            candidates[n++] = blank - 1;
        if (column(blank) != 4)
            candidates[n++] = blank + 1;
        const int next = candidates[random.Random(n)];
        std::swap(m_tiles[blank - 1], m_tiles[next - 1]);
        blank = next;
    }
}

bool FifteenBoard::TryMove(int p)
{
    if (p < 1 || p > Squares)
        return false;
    std::array<int, 4> neighbours{};
    int n = 0;
    if (column(p) != 1)
        neighbours[n++] = p - 1;
    if (column(p) != 4)
        neighbours[n++] = p + 1;
    if (row(p) != 1)
        neighbours[n++] = p - 4;
    if (row(p) != 4)
        neighbours[n++] = p + 4;
    for (int i = 0; i < n; ++i) {
        if (m_tiles[neighbours[i] - 1] == Blank) {
            std::swap(m_tiles[p - 1], m_tiles[neighbours[i] - 1]);
            return true;
        }
    }
    return false;
}

bool FifteenBoard::IsSolved() const
{
    for (int p = 1; p <= Squares; ++p)
        if (m_tiles[p - 1] != p)
            return false;
    return true;
}

void FifteenBoard::Tick()
{
    if (m_inProgress && m_seconds < MaxSeconds)
        ++m_seconds;
}

int FifteenBoard::Finish()
{
    m_inProgress = false;
    m_tiles.fill(1);
    return m_seconds;
}

void FifteenBoard::Start()
{
    m_seconds = 0;
    m_inProgress = true;
}

void FifteenBoard::ResetClock()
{
    m_seconds = 0;
    m_inProgress = false;
}

int FifteenBoard::TileAt(int p) const
{
    if (p < 1 || p > Squares)
        return 0;
    return m_tiles[p - 1];
}
