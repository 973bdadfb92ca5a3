// Mine laying, neighbour counts, opening of cells and the clock of the
// minesweeper.
#include "minefield.h"

using cellgrid::indexOf;
using cellgrid::onGrid;

void Minefield::NewField(RandomSource& random)
{
    closeAll();
    LayMines(random);
    CountNeighbours();
}

void Minefield::LayMines(RandomSource& random)
{
    m_values.fill(0);
    random.Randomize();
    int placed = 0;
    while (placed < m_mineCount) {
        // Pairs with a 0 are drawn and thrown away rather than shifted onto
        // the field, which keeps all 100 cells equally likely.
        const int row = random.Random(Rows + 1);
        const int column = random.Random(Columns + 1);
        if (row == 0 || column == 0 || m_values[indexOf(row, column)] == MineValue)
            continue;
        m_values[indexOf(row, column)] = MineValue;
        ++placed;
    }
    m_fieldMines = m_mineCount;
}

void Minefield::CountNeighbours()
{
    for (int row = 1; row <= Rows; ++row) {
        for (int column = 1; column <= Columns; ++column) {
            int& value = m_values[indexOf(row, column)];
            if (value == MineValue)
                continue;
            // Neighbours are found by row and column, never by index
            // offsets, so the right edge does not run into the next row.
            value = 0;
            for (int r = row - 1; r <= row + 1; ++r)
                for (int c = column - 1; c <= column + 1; ++c)
                    if (onGrid(r, c) && m_values[indexOf(r, c)] == MineValue)
                        ++value;
        }
    }
}

Minefield::OpenResult Minefield::OpenCell(int row, int column)
{
    if (m_state != State::InProgress || !onGrid(row, column))
        return OpenResult::Ignored;
    const int i = indexOf(row, column);
    if (!m_opened[i]) {
        m_opened[i] = true;
        ++m_openedCount;
    }
    if (m_values[i] == MineValue) {
        m_state = State::Lost;
        return OpenResult::Mine;
    }
    // Reopening a cell leaves the count as it was, so a game that is still
    // running has not reached this mark and cannot reach it twice.
    if (m_openedCount == Cells - m_fieldMines) {
        m_state = State::Won;
        return OpenResult::Won;
    }
    return OpenResult::Number;
}

void Minefield::Start()
{
    m_seconds = 0;
    m_state = State::InProgress;
}

void Minefield::TogglePause()
{
    if (m_state == State::InProgress)
        m_state = State::Paused;
    else if (m_state == State::Paused)
        m_state = State::InProgress;
}

void Minefield::Stop()
{
    m_seconds = 0;
    m_state = State::Ready;
}

void Minefield::Tick()
{
    if (m_state == State::InProgress && m_seconds < MaxSeconds)
        ++m_seconds;
}

bool Minefield::SetMineCount(int n)
{
    if (n < MinMines || n > MaxMines)
        return false;
    m_mineCount = n;
    return true;
}

int Minefield::ValueAt(int row, int column) const
{
    return onGrid(row, column) ? m_values[indexOf(row, column)] : 0;
}

bool Minefield::OpenedAt(int row, int column) const
{
    return onGrid(row, column) && m_opened[indexOf(row, column)];
}

void Minefield::closeAll()
{
    m_opened.fill(false);
    m_openedCount = 0;
}
