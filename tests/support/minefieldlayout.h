// Known minefields for the minesweeper's tests and benchmarks.
#pragma once

#include "minefield.h"

#include <utility>
#include <vector>

class MinefieldLayout {
public:
    // Every cell closed, a mine at each listed (row, column) on the field (a
    // repeat counts once), the counts filled in. The clock and the game
    // state stay as they are.
    static void layMines(Minefield& field, const std::vector<std::pair<int, int>>& mines)
    {
        field.closeAll();
        field.m_values.fill(0);
        field.m_fieldMines = 0;
        for (const auto& [row, column] : mines) {
            if (!cellgrid::onGrid(row, column))
                continue;
            int& value = field.m_values[cellgrid::indexOf(row, column)];
            if (value != Minefield::MineValue) {
                value = Minefield::MineValue;
                ++field.m_fieldMines;
            }
        }
        field.CountNeighbours();
    }
};

inline void layMines(Minefield& field, const std::vector<std::pair<int, int>>& mines)
{
    MinefieldLayout::layMines(field, mines);
}
