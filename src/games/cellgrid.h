// How both ten-by-ten games number their cells, in one place: row r and
// column c (1..10, row 1 at the top, column 1 at the left) are entry
// 10 (r - 1) + (c - 1) of a row-major array of 100, and a window's cell
// control of that entry is numbered one more.
#pragma once

namespace cellgrid {

constexpr int Size = 10;
constexpr int Cells = Size * Size;

struct Cell {
    int row = 0;
    int column = 0;
};

constexpr bool onGrid(int row, int column)
{
    return row >= 1 && row <= Size && column >= 1 && column <= Size;
}

constexpr int indexOf(int row, int column)
{
    return Size * (row - 1) + (column - 1);
}

constexpr Cell cellAt(int index)
{
    return {index / Size + 1, index % Size + 1};
}

} // namespace cellgrid
