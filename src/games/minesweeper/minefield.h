// The minesweeper's rules: a 10 x 10 field with its mines and neighbour
// counts, the opening of cells, the lost and won tests and the game clock.
#pragma once

#include "cellgrid.h"
#include "randomsource.h"

#include <array>

class Minefield {
public:
    static constexpr int Rows = cellgrid::Size, Columns = cellgrid::Size, Cells = cellgrid::Cells;
    static constexpr int MinMines = 5, MaxMines = 50, MaxSeconds = 999;
    // The value of a cell that holds a mine; safe cells hold 0..8.
    static constexpr int MineValue = -1;

    enum class State { Ready, InProgress, Paused, Lost, Won };
    enum class OpenResult { Ignored, Number, Mine, Won };

    // Closes every cell and lays and counts a fresh field. Leaves the clock
    // and the game state to the caller, which orders them around the field.
    void NewField(RandomSource& random);
    // Re-seeds once, then places exactly MineCount() mines from pairs of
    // draws, row first.
    void LayMines(RandomSource& random);
    void CountNeighbours();
    // Opens the cell at (row, column), 1..10 each, while a game is in
    // progress. An opened cell is counted once however often it is opened.
    OpenResult OpenCell(int row, int column);

    State state() const { return m_state; }
    bool InProgress() const { return m_state == State::InProgress; }
    // A new game: the clock from 0 and cells open to clicks.
    void Start();
    // Pauses a running game or resumes a paused one; anything else stays.
    void TogglePause();
    // Ends whatever game there was without a result: a field waiting for a
    // new game, the clock at 0.
    void Stop();
    // One second of game time: counts only while in progress, up to 999.
    void Tick();
    int Seconds() const { return m_seconds; }

    int MineCount() const { return m_mineCount; }
    // Refuses a count outside 5..50. The field already laid keeps its mines
    // and its win test; the count applies from the next field on.
    bool SetMineCount(int n);

    // -1 a mine, 0..8 the mines around; 0 off the field.
    int ValueAt(int row, int column) const;
    bool OpenedAt(int row, int column) const;
    int OpenedCount() const { return m_openedCount; }

private:
    // Lays out known fields for the tests and benchmarks.
    friend class MinefieldLayout;

    void closeAll();

    std::array<int, Cells> m_values{}; // cell (r, c) is m_values[10 * (r - 1) + (c - 1)]
    std::array<bool, Cells> m_opened{};
    int m_openedCount = 0;
    int m_mineCount = 20;
    // The mines actually on the field, which the win test uses: a count
    // chosen during a game must not move the finish line of that game.
    int m_fieldMines = 0;
    int m_seconds = 0;
    State m_state = State::Ready;
};
