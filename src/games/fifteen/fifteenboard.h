// The fifteen puzzle's rules: a 4 x 4 board of tiles 1-15 and a blank (16),
// the shuffling deal, single-tile slides, the solved test and the game clock.
#pragma once

#include "randomsource.h"

#include <array>
#include <cstdint>

class FifteenBoard {
public:
    static constexpr int Squares = 16;
    static constexpr std::uint8_t Blank = 16;
    static constexpr int MaxSeconds = 999;

    // Starts from the solved board turned half a turn (blank at 1) and walks
    // the blank 255 random steps. Leaves the clock alone.
    void Deal(RandomSource& random);
    // Slides the tile at position p (1..16, reading order) into the blank if
    // they share an edge. Returns whether a tile moved.
    bool TryMove(int p);
    bool IsSolved() const;
    // One second of game time: counts only while a game is in progress, up
    // to 999.
    void Tick();
    // Ends a solved game: stops the clock, freezes the board so no tile can
    // move, and returns the score (the seconds counted).
    int Finish();
    void Start();
    void ResetClock();

    // The value at position p: 1..15 a tile, 16 the blank, 0 before the
    // first deal, 1 everywhere once finished; 0 for a position off the board.
    int TileAt(int p) const;
    // Lays out a position as it is given, leaving the clock alone; lets
    // tests set up a board a known number of moves from the end.
    void SetTiles(const std::array<std::uint8_t, Squares>& tiles) { m_tiles = tiles; }
    int Seconds() const { return m_seconds; }
    bool InProgress() const { return m_inProgress; }

private:
    std::array<std::uint8_t, Squares> m_tiles{}; // m_tiles[p - 1] is position p
    int m_seconds = 0;
    bool m_inProgress = false;
};
