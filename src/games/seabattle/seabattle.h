// The sea battle's rules: both boards and fleets, the computer's random
// fleet, the player's placement cursor, shots, sinkings and the counters.
#pragma once

#include "cellgrid.h"
#include "randomsource.h"

#include <array>
#include <cstdint>

enum PlayerCell : std::uint8_t { psEmpty, psShip, psCursor, psCursorOnShip, psHit, psSunk, psMiss };
enum ComputerCell : std::uint8_t { csEmpty, csShip, csHit, csMiss, csSunk };
enum GamePhase : std::uint8_t { gpIdle, gpPlacing, gpBattle };

// A rectangle of cells, rows and columns 1..10, edges included.
struct ShipExtent {
    int top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const ShipExtent&) const = default;
};

enum class Direction { Up, Down, Left, Right };
enum class PlaceResult { Ignored, Placed, PlacedLast, RefusedOccupied, RefusedTooClose };
enum class ShotResult { Ignored, Miss, Wasted, Hit, FatalHit };

// `turn` is the turn counter right after the shot raised it: the number the
// window shows at once, and at the winning shot the score.
struct PlayerShot {
    ShotResult result = ShotResult::Ignored;
    ShipExtent extent;
    int turn = 0;
};

// `row` and `column` name the cell fired at (0 when the shot was ignored).
struct ComputerShot {
    ShotResult result = ShotResult::Ignored;
    ShipExtent extent;
    int row = 0, column = 0;
};

enum class Board { Player, Computer };
// Ignored: not in the battle, or a rectangle off the board.
enum class SinkResult { Sunk, Won, Lost, Ignored };

class SeaBattle {
public:
    static constexpr int Size = cellgrid::Size;
    static constexpr int Cells = cellgrid::Cells;
    static constexpr int Ships = 10;
    // Ship k (1..10) has length FleetLengths[k - 1]; longest first, as placed.
    static constexpr std::array<int, Ships> FleetLengths{4, 3, 3, 2, 2, 2, 1, 1, 1, 1};

    // Clears both boards, hides the computer's fleet and puts the first
    // cursor (four cells) at the top left. The counters keep the last game's
    // values until the battle begins, since the window still shows them.
    void NewGame(RandomSource& random);
    // Lays the computer's ten ships at random on an empty computer board.
    void PlaceComputerFleet(RandomSource& random);
    // Whether a ship may lie in the rectangle on the computer's board: inside
    // the board, with every cell round it water.
    bool CanPlaceShip(const ShipExtent& ship) const;

    // Placement keys. Return whether the cursor moved or turned.
    bool MoveCursor(Direction direction);
    bool RotateCursor();
    PlaceResult PlaceShip();

    // The ship through the cell: the bounding rectangle of the ship codes
    // (intact or hit) reachable from it through the eight neighbours.
    ShipExtent FindShipExtent(Board board, int row, int column) const;
    // Whether any cell of the rectangle still holds an intact ship part.
    bool IsAfloat(Board board, const ShipExtent& ship) const;

    // The player fires at the computer's board.
    PlayerShot ResolvePlayerShot(int row, int column);
    // The computer fires at the player's board.
    ComputerShot ResolveComputerShot(int row, int column);
    // Turns a ship that has just taken its fatal hit into a sunk ship and
    // marks the water round it.
    SinkResult SinkShip(Board board, const ShipExtent& ship);

    GamePhase Phase() const { return m_phase; }
    // Cell codes; 0 for a cell off the board.
    PlayerCell PlayerAt(int row, int column) const;
    ComputerCell ComputerAt(int row, int column) const;
    int TurnCount() const { return m_turnCount; }
    int EnemySunk() const { return m_enemySunk; }
    int PlayerSunk() const { return m_playerSunk; }
    int ShipIndex() const { return m_shipIndex; }
    int ShipLength() const { return m_shipLength; }
    ShipExtent Cursor() const { return m_placementCursor; }

private:
    // Lays out known boards for the tests and benchmarks.
    friend class SeaBattleLayout;

    using Cells100 = std::array<std::uint8_t, Cells>;

    bool placeFleetOnce(RandomSource& random);
    bool anyStartTakes(int length) const;
    bool acceptCursor(ShipExtent candidate);
    void markCursor();
    Cells100& cells(Board board) { return board == Board::Player ? m_player : m_computer; }
    const Cells100& cells(Board board) const { return board == Board::Player ? m_player : m_computer; }

    Cells100 m_player{};   // row-major, cell (r, c) at 10 * (r - 1) + (c - 1)
    Cells100 m_computer{};
    GamePhase m_phase = gpIdle;
    ShipExtent m_placementCursor{1, 1, 1, 4};
    std::uint8_t m_shipLength = 4;
    std::uint8_t m_shipIndex = 1;
    std::uint8_t m_turnCount = 0;
    std::uint8_t m_enemySunk = 0;
    std::uint8_t m_playerSunk = 0;
};
