// The fifteen board: exact deals for scripted draws, the slide rule, the
// clock, a full solve, and a soak over many random deals and clicks.
#include "scriptedrandom.h"

#include <QTest>

#include "fifteenboard.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>

using Tiles = std::array<int, 16>;
Q_DECLARE_METATYPE(Tiles)

namespace {

Tiles tilesOf(const FifteenBoard& board)
{
    Tiles tiles{};
    for (int p = 1; p <= 16; ++p)
        tiles[p - 1] = board.TileAt(p);
    return tiles;
}

bool isPermutation(const Tiles& tiles)
{
    std::array<int, 17> seen{};
    for (int v : tiles) {
        if (v < 1 || v > 16 || seen[v]++)
            return false;
    }
    return true;
}

int blankAt(const Tiles& tiles)
{
    return int(std::find(tiles.begin(), tiles.end(), 16) - tiles.begin()) + 1;
}

// Each slide is one transposition and moves the blank one square, so a board
// can be solved exactly when its permutation parity equals the parity of the
// blank's distance from the bottom right corner.
bool solvable(const Tiles& tiles)
{
    int inversions = 0;
    for (int i = 0; i < 16; ++i)
        for (int j = i + 1; j < 16; ++j)
            inversions += tiles[i] > tiles[j];
    const int blank = blankAt(tiles) - 1;
    return inversions % 2 == ((3 - blank / 4) + (3 - blank % 4)) % 2;
}

bool adjacent(int a, int b)
{
    if (a < 1 || a > 16 || b < 1 || b > 16)
        return false;
    const int dr = (a - 1) / 4 - (b - 1) / 4;
    const int dc = (a - 1) % 4 - (b - 1) % 4;
    return std::abs(dr) + std::abs(dc) == 1;
}

// With every draw 0 the blank steps 1 -> 5 -> 1 ... and, the step count
// being odd, ends on 5 with tile 12 (the reversed fill's value at 5) on 1.
const Tiles kZeroDeal{12, 15, 14, 13, 16, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};

// Blank at 5 (the all-zero deal), then the clicks that walk it to its place.
FifteenBoard boardWithBlankWalk(std::initializer_list<int> clicks)
{
    FifteenBoard board;
    ScriptedRandom zeros;
    board.Deal(zeros);
    board.Start();
    for (int p : clicks) {
        if (!board.TryMove(p))
            qFatal("setup click %d did not move", p);
    }
    return board;
}

} // namespace

class TstFifteenBoard : public QObject {
    Q_OBJECT
private slots:
    void dealIsExact_data();
    void dealIsExact();
    void slideRule_data();
    void slideRule();
    void boardWithoutBlankRefusesMoves_data();
    void boardWithoutBlankRefusesMoves();
    void clock_data();
    void clock();
    void solvingAndFinishing();
    void soakDealsAndClicks();
};

void TstFifteenBoard::dealIsExact_data()
{
    QTest::addColumn<QList<int>>("draws");
    QTest::addColumn<bool>("playedBefore");
    QTest::addColumn<Tiles>("expected");

    QTest::newRow("all draws 0") << QList<int>{} << false << kZeroDeal;
    QTest::newRow("all draws 0, over a finished game") << QList<int>{} << true << kZeroDeal;
    // 1 -> 2 (right), 2 -> 3 (right of [6, 1, 3]), 3 -> 7 (below),
    // 7 -> 8 (right of [3, 11, 6, 8]), 8 -> 12 (below of [4, 12, 7]),
    // 12 -> 11 (left of [8, 16, 11]); then draws of 0 go up 11 -> 7 -> 3 and
    // swing 3 <-> 7 for the remaining 247 steps, ending on 7 as after step 7.
    QTest::newRow("mixed script")
        << QList<int>{1, 2, 0, 3, 1, 2} << false
        << Tiles{15, 14, 10, 13, 12, 11, 16, 5, 8, 7, 9, 6, 4, 3, 2, 1};
}

void TstFifteenBoard::dealIsExact()
{
    QFETCH(QList<int>, draws);
    QFETCH(bool, playedBefore);
    QFETCH(Tiles, expected);

    FifteenBoard board;
    if (playedBefore) {
        SeededRandom other(7);
        board.Deal(other);
        board.Start();
        board.Finish();
    }
    ScriptedRandom random(std::deque<int>(draws.begin(), draws.end()));
    board.Deal(random);
    QCOMPARE(tilesOf(board), expected);
    QCOMPARE(random.reseeds, 1);
    QCOMPARE(random.draws, 255);
}

void TstFifteenBoard::slideRule_data()
{
    QTest::addColumn<QList<int>>("walk");
    QTest::addColumn<int>("click");
    QTest::addColumn<bool>("moves");

    const QList<int> to6{6};
    QTest::newRow("blank 6, tile above") << to6 << 2 << true;
    QTest::newRow("blank 6, tile left") << to6 << 5 << true;
    QTest::newRow("blank 6, tile right") << to6 << 7 << true;
    QTest::newRow("blank 6, tile below") << to6 << 10 << true;
    QTest::newRow("blank 6, diagonal up left") << to6 << 1 << false;
    QTest::newRow("blank 6, diagonal up right") << to6 << 3 << false;
    QTest::newRow("blank 6, two to the right") << to6 << 8 << false;
    QTest::newRow("blank 6, two below") << to6 << 14 << false;
    QTest::newRow("blank 6, the blank itself") << to6 << 6 << false;
    QTest::newRow("blank 5, end of the row above") << QList<int>{} << 4 << false;
    QTest::newRow("blank 8, start of the row below") << QList<int>{6, 7, 8} << 9 << false;
    QTest::newRow("position 0") << QList<int>{} << 0 << false;
    QTest::newRow("position 17") << QList<int>{} << 17 << false;
    QTest::newRow("position -1") << QList<int>{} << -1 << false;
}

void TstFifteenBoard::slideRule()
{
    QFETCH(QList<int>, walk);
    QFETCH(int, click);
    QFETCH(bool, moves);

    FifteenBoard board = boardWithBlankWalk({});
    for (int p : walk)
        QVERIFY(board.TryMove(p));
    const Tiles before = tilesOf(board);
    const int blank = blankAt(before);

    QCOMPARE(board.TryMove(click), moves);
    Tiles expected = before;
    if (moves)
        std::swap(expected[click - 1], expected[blank - 1]);
    QCOMPARE(tilesOf(board), expected);
}

void TstFifteenBoard::boardWithoutBlankRefusesMoves_data()
{
    QTest::addColumn<bool>("finished");
    QTest::addColumn<int>("value");
    QTest::newRow("not dealt") << false << 0;
    QTest::newRow("finished") << true << 1;
}

void TstFifteenBoard::boardWithoutBlankRefusesMoves()
{
    QFETCH(bool, finished);
    QFETCH(int, value);

    FifteenBoard board;
    if (finished) {
        board = boardWithBlankWalk({6});
        board.Finish();
    }
    Tiles expected;
    expected.fill(value);
    for (int p = 0; p <= 17; ++p)
        QVERIFY2(!board.TryMove(p), qPrintable(QString::number(p)));
    QCOMPARE(tilesOf(board), expected);
    QVERIFY(!board.IsSolved());
}

void TstFifteenBoard::clock_data()
{
    // d deal, s start, t tick, T a thousand ticks, f finish, r reset clock.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("inProgress");

    QTest::newRow("before any game") << "ttt" << 0 << false;
    QTest::newRow("dealt, not started") << "dttt" << 0 << false;
    QTest::newRow("in progress") << "dsttt" << 3 << true;
    QTest::newRow("stops at 999") << "dsTTt" << 999 << true;
    QTest::newRow("finish stops it") << "dstttfttt" << 3 << false;
    QTest::newRow("reset clears and stops it") << "dstttrtt" << 0 << false;
    QTest::newRow("start after 999 counts from 0") << "dsTstt" << 2 << true;
    QTest::newRow("a new deal leaves the clock") << "dsttdt" << 3 << true;
}

void TstFifteenBoard::clock()
{
    QFETCH(QString, steps);
    QFETCH(int, seconds);
    QFETCH(bool, inProgress);

    FifteenBoard board;
    SeededRandom random(1);
    for (QChar step : steps) {
        switch (step.unicode()) {
        case 'd': board.Deal(random); break;
        case 's': board.Start(); break;
        case 't': board.Tick(); break;
        case 'T': for (int i = 0; i < 1000; ++i) board.Tick(); break;
        case 'f': board.Finish(); break;
        case 'r': board.ResetClock(); break;
        }
    }
    QCOMPARE(board.Seconds(), seconds);
    QCOMPARE(board.InProgress(), inProgress);
}

void TstFifteenBoard::solvingAndFinishing()
{
    // A solution of the all-zero deal, found once by a search outside the
    // program; each number is the square of the tile to slide.
    const int solution[] = {9,  10, 11, 12, 8,  7,  6,  10, 11, 12, 8,  4,  3,  2,  1,  5,  9,  10, 11, 7,  3,  2,  1,  5,
                            9,  10, 14, 15, 16, 12, 8,  4,  3,  2,  6,  10, 14, 15, 16, 12, 8,  7,  6,  10, 14, 15, 16, 12,
                            8,  4,  3,  7,  6,  10, 14, 13, 9,  5,  6,  2,  1,  5,  9,  10, 14, 15, 16, 12, 11, 10, 6,  7,
                            11, 12, 8,  4,  3,  2,  6,  10, 9,  13, 14, 15, 16, 12, 8,  7,  3,  4,  8,  12, 16};
    FifteenBoard board = boardWithBlankWalk({});
    board.Tick();
    board.Tick();
    for (int p : solution) {
        QVERIFY(!board.IsSolved());
        QVERIFY2(board.TryMove(p), qPrintable(QString::number(p)));
    }
    QVERIFY(board.IsSolved());
    board.Tick();
    QCOMPARE(board.Finish(), 3);
    QVERIFY(!board.InProgress());
    board.Tick();
    QCOMPARE(board.Seconds(), 3);
    QVERIFY(!board.TryMove(15));
    QVERIFY(!board.IsSolved());
}

void TstFifteenBoard::soakDealsAndClicks()
{
    std::mt19937 clicks(2024);
    std::uniform_int_distribution<int> anySquare(-1, 18);
    for (unsigned seed = 0; seed < 3000; ++seed) {
        SeededRandom random(seed);
        FifteenBoard board;
        board.Deal(random);
        Tiles tiles = tilesOf(board);
        QVERIFY2(isPermutation(tiles), qPrintable(QString::number(seed)));
        QVERIFY(!board.IsSolved());
        QVERIFY(solvable(tiles));
        const int blank = blankAt(tiles);
        QCOMPARE(((blank - 1) / 4 + (blank - 1) % 4) % 2, 1);
        QCOMPARE(random.reseeds, 1);

        board.Start();
        for (int i = 0; i < 300; ++i) {
            const int p = anySquare(clicks);
            const int before = blankAt(tiles);
            const bool moved = board.TryMove(p);
            QCOMPARE(moved, adjacent(p, before));
            tiles = tilesOf(board);
            QVERIFY(isPermutation(tiles));
            QCOMPARE(blankAt(tiles), moved ? p : before);
        }
    }
}

QTEST_GUILESS_MAIN(TstFifteenBoard)
#include "tst_fifteenboard.moc"
