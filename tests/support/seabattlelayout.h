// Sea battle boards as text, for the tests and benchmarks: a board is ten
// rows of ten characters joined by '|': '.' water, '#' ship, 'x' hit, '*'
// sunk, 'o' missed; on the player's board also 'c' cursor and 'C' cursor
// over a ship. Known boards, phases and cursors are laid out from them.
#pragma once

#include "seabattle.h"

#include <string>
#include <string_view>

class SeaBattleLayout {
public:
    // The characters, indexed by cell code.
    static constexpr std::string_view playerChars = ".#cCx*o";
    static constexpr std::string_view computerChars = ".#xo*";

    static std::string picture(const SeaBattle& game, Board board)
    {
        const std::string_view chars = board == Board::Player ? playerChars : computerChars;
        std::string text;
        for (int i = 0; i < cellgrid::Cells; ++i) {
            if (i > 0 && i % cellgrid::Size == 0)
                text += '|';
            const std::uint8_t code = game.cells(board)[i];
            text += code < chars.size() ? chars[code] : '?';
        }
        return text;
    }

    // Blanks, line breaks and '|' are skipped; false and no change on a bad
    // picture.
    static bool setBoard(SeaBattle& game, Board board, std::string_view picture)
    {
        const std::string_view chars = board == Board::Player ? playerChars : computerChars;
        SeaBattle::Cells100 laid{};
        int n = 0;
        for (char ch : picture) {
            if (ch == '|' || ch == ' ' || ch == '\n')
                continue;
            const auto code = chars.find(ch);
            if (code == std::string_view::npos || n == cellgrid::Cells)
                return false;
            laid[n++] = static_cast<std::uint8_t>(code);
        }
        if (n != cellgrid::Cells)
            return false;
        game.cells(board) = laid;
        return true;
    }

    static void setPhase(SeaBattle& game, GamePhase phase) { game.m_phase = phase; }

    // Makes ship number shipIndex (1..10) the one being placed, its cursor
    // at the rectangle.
    static void setPlacement(SeaBattle& game, int shipIndex, const ShipExtent& cursor)
    {
        if (shipIndex < 1 || shipIndex > SeaBattle::Ships || !cellgrid::onGrid(cursor.top, cursor.left)
            || !cellgrid::onGrid(cursor.bottom, cursor.right))
            return;
        auto& cells = game.cells(Board::Player);
        for (int r = game.m_placementCursor.top; r <= game.m_placementCursor.bottom; ++r) {
            for (int c = game.m_placementCursor.left; c <= game.m_placementCursor.right; ++c) {
                std::uint8_t& cell = cells[cellgrid::indexOf(r, c)];
                if (cell == psCursor || cell == psCursorOnShip)
                    cell = static_cast<std::uint8_t>(cell - 2);
            }
        }
        game.m_shipIndex = static_cast<std::uint8_t>(shipIndex);
        game.m_shipLength = static_cast<std::uint8_t>(SeaBattle::FleetLengths[shipIndex - 1]);
        game.m_placementCursor = cursor;
        game.markCursor();
    }
};
