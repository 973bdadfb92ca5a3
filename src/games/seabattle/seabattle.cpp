// Placement, shots and sinkings of the sea battle on its two boards.
#include "seabattle.h"

#include <algorithm>
#include <cstdlib>

namespace {

// After this many refused draws for one ship the placement checks whether
// any start cell can still take the ship at all (see placeFleetOnce).
constexpr int kDrawsBeforeCheck = 1000;

using cellgrid::onGrid;
using cellgrid::indexOf;

bool onBoard(const ShipExtent& e)
{
    return onGrid(e.top, e.left) && onGrid(e.bottom, e.right) && e.top <= e.bottom && e.left <= e.right;
}

// The rectangle grown by one cell on each side, cut at the board's edges.
ShipExtent grown(const ShipExtent& e)
{
    return {std::max(e.top - 1, 1), std::max(e.left - 1, 1), std::min(e.bottom + 1, SeaBattle::Size),
            std::min(e.right + 1, SeaBattle::Size)};
}

template <typename F>
void forEachCell(const ShipExtent& e, F f)
{
    for (int r = e.top; r <= e.bottom; ++r)
        for (int c = e.left; c <= e.right; ++c)
            f(r, c);
}

// Where a drawn number 1..97 starts a ship: column x mod 10 and row x div
// 10, each 0 read as 10.
void startCell(int x, int& row, int& column)
{
    column = x % 10 == 0 ? 10 : x % 10;
    row = x / 10 == 0 ? 10 : x / 10;
}

ShipExtent shipFrom(int row, int column, int length, bool horizontal)
{
    if (horizontal)
        return {row, column, row, column + length - 1};
    return {row, column, row + length - 1, column};
}

// The codes that mean the same on the two boards.
struct Codes {
    std::uint8_t intact, hit, sunk, miss;
};

Codes codesOf(Board board)
{
    if (board == Board::Player)
        return {psShip, psHit, psSunk, psMiss};
    return {csShip, csHit, csSunk, csMiss};
}

int wrapped(int v)
{
    if (v < 1)
        return SeaBattle::Size;
    if (v > SeaBattle::Size)
        return 1;
    return v;
}

} // namespace

void SeaBattle::NewGame(RandomSource& random)
{
    m_player.fill(psEmpty);
    m_computer.fill(csEmpty);
    PlaceComputerFleet(random);
    m_phase = gpPlacing;
    m_shipIndex = 1;
    m_shipLength = static_cast<std::uint8_t>(FleetLengths[0]);
    m_placementCursor = {1, 1, 1, m_shipLength};
    markCursor();
}

void SeaBattle::PlaceComputerFleet(RandomSource& random)
{
    do
        m_computer.fill(csEmpty);
    while (!placeFleetOnce(random));
}

// Start cells are drawn until one takes the ship. The first nine ships can
// be laid so that no cell that can be drawn takes the tenth (the water left
// for it may be just the bottom right corner, which is never drawn), and then
// the drawing would never end. So after a long run of refusals every start
// cell is tried once; if none takes the ship the fleet is begun again. Draws
// are never spent on that check, so every fleet that can be finished comes
// out exactly as drawn.
bool SeaBattle::placeFleetOnce(RandomSource& random)
{
    for (int k = 1; k <= Ships; ++k) {
        const int length = FleetLengths[k - 1];
        random.Randomize();
        for (int refused = 1;; ++refused) {
            const int x = random.Random(97) + 1;
            const bool horizontal = random.Random(2) == 1;
            int row = 0;
            int column = 0;
            startCell(x, row, column);
            ShipExtent ship = shipFrom(row, column, length, horizontal);
            bool fits = CanPlaceShip(ship);
            if (!fits && horizontal) {
                ship = shipFrom(row, column, length, false);
                fits = CanPlaceShip(ship);
            }
            if (fits) {
                forEachCell(ship, [this](int r, int c) { m_computer[indexOf(r, c)] = csShip; });
                break;
            }
            if (refused % kDrawsBeforeCheck == 0 && !anyStartTakes(length))
                return false;
        }
    }
    return true;
}

bool SeaBattle::anyStartTakes(int length) const
{
    for (int x = 1; x <= 97; ++x) {
        int row = 0;
        int column = 0;
        startCell(x, row, column);
        if (CanPlaceShip(shipFrom(row, column, length, true)) || CanPlaceShip(shipFrom(row, column, length, false)))
            return true;
    }
    return false;
}

bool SeaBattle::CanPlaceShip(const ShipExtent& ship) const
{
    if (!onBoard(ship))
        return false;
    bool clear = true;
    forEachCell(grown(ship), [&](int r, int c) { clear = clear && m_computer[indexOf(r, c)] == csEmpty; });
    return clear;
}

bool SeaBattle::MoveCursor(Direction direction)
{
    if (m_phase != gpPlacing)
        return false;
    ShipExtent c = m_placementCursor;
    switch (direction) {
    case Direction::Up: --c.top; --c.bottom; break;
    case Direction::Down: ++c.top; ++c.bottom; break;
    case Direction::Left: --c.left; --c.right; break;
    case Direction::Right: ++c.left; ++c.right; break;
    }
    return acceptCursor(c);
}

// The cursor turns about its h-th cell, which keeps its place: f cells come
// to lie above it (or to its left), the others below (or to its right).
bool SeaBattle::RotateCursor()
{
    if (m_phase != gpPlacing || m_shipLength <= 1)
        return false;
    const int h = (m_shipLength + 1) / 2;
    const int f = m_shipLength / 2;
    const ShipExtent& c = m_placementCursor;
    if (c.top == c.bottom) {
        const int p = c.left + h - 1;
        return acceptCursor({c.top - f, p, c.bottom + h - 1, p});
    }
    const int q = c.top + h - 1;
    return acceptCursor({q, c.left - f, q, c.right + h - 1});
}

// Values that leave the board come back on at the other edge. A ship whose
// two ends leave together (a one-cell ship, or a longer one moved sideways)
// therefore wraps round; when only one end leaves, the rectangle stretches
// past the ship's length and the move or turn is refused.
bool SeaBattle::acceptCursor(ShipExtent c)
{
    c = {wrapped(c.top), wrapped(c.left), wrapped(c.bottom), wrapped(c.right)};
    if (std::abs(c.top - c.bottom) > m_shipLength || std::abs(c.left - c.right) > m_shipLength)
        return false;
    // Take the old cursor off first, giving back the ships it covered.
    forEachCell(m_placementCursor, [this](int r, int col) {
        std::uint8_t& cell = m_player[indexOf(r, col)];
        cell = cell == psCursor ? psEmpty : psShip;
    });
    m_placementCursor = c;
    forEachCell(c, [this](int r, int col) {
        std::uint8_t& cell = m_player[indexOf(r, col)];
        cell = cell == psEmpty ? psCursor : psCursorOnShip;
    });
    return true;
}

void SeaBattle::markCursor()
{
    forEachCell(m_placementCursor, [this](int r, int c) {
        std::uint8_t& cell = m_player[indexOf(r, c)];
        if (cell == psEmpty || cell == psShip)
            cell = static_cast<std::uint8_t>(cell + 2);
    });
}

PlaceResult SeaBattle::PlaceShip()
{
    if (m_phase != gpPlacing)
        return PlaceResult::Ignored;
    bool occupied = false;
    forEachCell(m_placementCursor, [&](int r, int c) { occupied = occupied || m_player[indexOf(r, c)] == psCursorOnShip; });
    if (occupied)
        return PlaceResult::RefusedOccupied;
    bool close = false;
    forEachCell(grown(m_placementCursor), [&](int r, int c) { close = close || m_player[indexOf(r, c)] == psShip; });
    if (close)
        return PlaceResult::RefusedTooClose;

    forEachCell(m_placementCursor, [this](int r, int c) { m_player[indexOf(r, c)] = psShip; });
    if (m_shipIndex == Ships) {
        m_phase = gpBattle;
        m_turnCount = 0;
        m_enemySunk = 0;
        m_playerSunk = 0;
        return PlaceResult::PlacedLast;
    }
    ++m_shipIndex;
    m_shipLength = static_cast<std::uint8_t>(FleetLengths[m_shipIndex - 1]);
    m_placementCursor = {1, 1, 1, m_shipLength};
    markCursor();
    return PlaceResult::Placed;
}

namespace {

struct ExtentWalk {
    const std::array<std::uint8_t, SeaBattle::Cells>& cells;
    std::uint8_t intact;
    std::uint8_t hit;
    std::array<bool, SeaBattle::Cells> onPath{};
    ShipExtent extent;

    // Depth first; only the cells of the current path are marked, which is
    // enough to stop the walk from turning back on itself. Ships never touch,
    // so no walk here reaches more than the four cells of the longest ship.
    void visit(int row, int column)
    {
        onPath[indexOf(row, column)] = true;
        extent = {std::min(extent.top, row), std::min(extent.left, column), std::max(extent.bottom, row),
                  std::max(extent.right, column)};
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const int r = row + dr;
                const int c = column + dc;
                if ((dr == 0 && dc == 0) || !onGrid(r, c) || onPath[indexOf(r, c)])
                    continue;
                const std::uint8_t code = cells[indexOf(r, c)];
                if (code == intact || code == hit)
                    visit(r, c);
            }
        }
        onPath[indexOf(row, column)] = false;
    }
};

} // namespace

ShipExtent SeaBattle::FindShipExtent(Board board, int row, int column) const
{
    if (!onGrid(row, column))
        return {};
    const Codes codes = codesOf(board);
    ExtentWalk walk{cells(board), codes.intact, codes.hit, {}, {row, column, row, column}};
    walk.visit(row, column);
    return walk.extent;
}

bool SeaBattle::IsAfloat(Board board, const ShipExtent& ship) const
{
    if (!onBoard(ship))
        return false;
    const std::uint8_t intact = codesOf(board).intact;
    bool afloat = false;
    forEachCell(ship, [&](int r, int c) { afloat = afloat || cells(board)[indexOf(r, c)] == intact; });
    return afloat;
}

PlayerShot SeaBattle::ResolvePlayerShot(int row, int column)
{
    if (m_phase != gpBattle || !onGrid(row, column))
        return {ShotResult::Ignored, {}, m_turnCount};
    ++m_turnCount;
    PlayerShot shot{ShotResult::Wasted, {}, m_turnCount};
    std::uint8_t& cell = m_computer[indexOf(row, column)];
    if (cell == csEmpty) {
        cell = csMiss;
        shot.result = ShotResult::Miss;
    } else if (cell == csShip) {
        cell = csHit;
        shot.extent = FindShipExtent(Board::Computer, row, column);
        shot.result = IsAfloat(Board::Computer, shot.extent) ? ShotResult::Hit : ShotResult::FatalHit;
        // A hit earns another shot, so it is not a turn of its own; a fatal
        // hit is given back in SinkShip unless it ends the game.
        if (shot.result == ShotResult::Hit)
            --m_turnCount;
    }
    return shot;
}

ComputerShot SeaBattle::ResolveComputerShot(int row, int column)
{
    if (m_phase != gpBattle || !onGrid(row, column))
        return {};
    ComputerShot shot{ShotResult::Wasted, {}, row, column};
    std::uint8_t& cell = m_player[indexOf(row, column)];
    if (cell == psEmpty) {
        cell = psMiss;
        shot.result = ShotResult::Miss;
    } else if (cell == psShip) {
        cell = psHit;
        shot.extent = FindShipExtent(Board::Player, row, column);
        shot.result = IsAfloat(Board::Player, shot.extent) ? ShotResult::Hit : ShotResult::FatalHit;
    }
    return shot;
}

SinkResult SeaBattle::SinkShip(Board board, const ShipExtent& ship)
{
    if (m_phase != gpBattle || !onBoard(ship))
        return SinkResult::Ignored;
    const bool player = board == Board::Player;
    const Codes codes = codesOf(board);
    Cells100& b = cells(board);
    forEachCell(ship, [&](int r, int c) { b[indexOf(r, c)] = codes.sunk; });
    forEachCell(grown(ship), [&](int r, int c) {
        if (b[indexOf(r, c)] != codes.sunk)
            b[indexOf(r, c)] = codes.miss;
    });
    std::uint8_t& counter = player ? m_playerSunk : m_enemySunk;
    ++counter;
    if (counter >= Ships) {
        m_phase = gpIdle;
        return player ? SinkResult::Lost : SinkResult::Won;
    }
    if (!player)
        --m_turnCount; // the fatal hit earns another shot, as any hit does
    return SinkResult::Sunk;
}

PlayerCell SeaBattle::PlayerAt(int row, int column) const
{
    return onGrid(row, column) ? PlayerCell(m_player[indexOf(row, column)]) : psEmpty;
}

ComputerCell SeaBattle::ComputerAt(int row, int column) const
{
    return onGrid(row, column) ? ComputerCell(m_computer[indexOf(row, column)]) : csEmpty;
}
