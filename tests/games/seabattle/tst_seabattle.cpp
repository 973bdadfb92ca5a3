// The sea battle model: exact computer fleets for scripted draws, the keys
// at the edges, the turn counter, and soaks of fleets and of whole games.
#include "scriptedrandom.h"
#include "seabattlelayout.h"

#include <QTest>

#include "opponent.h"
#include "seabattle.h"

#include <algorithm>
#include <functional>
#include <random>

Q_DECLARE_METATYPE(ShipExtent)

char* toString(const ShipExtent& e)
{
    return qstrdup(qPrintable(QString("rows %1-%2, columns %3-%4").arg(e.top).arg(e.bottom).arg(e.left).arg(e.right)));
}

namespace {

// Throws once the script has run out, so a placement that would draw for
// ever fails instead.
class StrictRandom : public ScriptedRandom {
public:
    using ScriptedRandom::ScriptedRandom;

protected:
    int draw(int n) override
    {
        if (values.empty())
            throw std::runtime_error("the script has run out");
        return ScriptedRandom::draw(n);
    }
};

// Scripted values for start draws given as (x, o) pairs.
QList<int> draws(std::initializer_list<std::pair<int, int>> pairs)
{
    QList<int> values;
    for (auto [x, o] : pairs)
        values << x - 1 << o;
    return values;
}

QString picture(const SeaBattle& game, Board board)
{
    return QString::fromStdString(SeaBattleLayout::picture(game, board));
}

// Lengths of the groups of `chars` cells that touch along a side or at a
// corner, longest first; a group that is not a straight line counts as 0.
QList<int> shipLengths(QString cells, const QString& chars)
{
    cells.remove(u'|');
    std::function<void(int, int, ShipExtent&, int&)> fill = [&](int r, int c, ShipExtent& box, int& n) {
        if (r < 0 || r > 9 || c < 0 || c > 9 || !chars.contains(cells[10 * r + c]))
            return;
        cells[10 * r + c] = u' ';
        box = {std::min(box.top, r), std::min(box.left, c), std::max(box.bottom, r), std::max(box.right, c)};
        ++n;
        for (int d = 0; d < 9; ++d)
            fill(r + d / 3 - 1, c + d % 3 - 1, box, n);
    };
    QList<int> lengths;
    for (int i = 0; i < 100; ++i) {
        ShipExtent box{i / 10, i % 10, i / 10, i % 10};
        int n = 0;
        fill(i / 10, i % 10, box, n);
        const int h = box.bottom - box.top + 1, w = box.right - box.left + 1;
        if (n > 0)
            lengths << ((h == 1 || w == 1) && n == h * w ? n : 0);
    }
    std::sort(lengths.rbegin(), lengths.rend());
    return lengths;
}

// Placement keys: l r u d move, t turns, e places. Moves and turns answer 1
// or 0; a placement P placed, L the last, O occupied, T too close, - ignored.
// Blanks only space the answers out.
QString press(SeaBattle& game, const QString& keys)
{
    QString answers;
    for (QChar key : keys) {
        if (key == 'e' || key == ' ')
            answers += key == ' ' ? ' ' : "-PLOT"[int(game.PlaceShip())];
        else // Direction runs up, down, left, right
            answers += (key == 't' ? game.RotateCursor() : game.MoveCursor(Direction(QString("udlr").indexOf(key)))) ? '1' : '0';
    }
    return answers;
}

bool steerTo(SeaBattle& game, int top, int left)
{
    while (game.Cursor().top != top)
        if (!game.MoveCursor(game.Cursor().top < top ? Direction::Down : Direction::Up))
            return false;
    while (game.Cursor().left != left)
        if (!game.MoveCursor(game.Cursor().left < left ? Direction::Right : Direction::Left))
            return false;
    return true;
}

const QList<int> kFleet{4, 3, 3, 2, 2, 2, 1, 1, 1, 1};
const QList<int> kBaseDraws = draws({{11, 1}, {16, 1}, {31, 0}, {33, 1}, {36, 0}, {39, 0}, {77, 0}, {1, 1}, {90, 1}, {64, 0}});
const QString kBaseFleet = "####.###..|..........|#.##.#..#.|#....#..#.|#.........|"
                           "...#......|......#...|..........|.........#|#.........";

} // namespace

class TstSeaBattle : public QObject {
    Q_OBJECT
private slots:
    void computerFleet_data();
    void computerFleet();
    void soakComputerFleets();
    void keys_data();
    void keys();
    void placement();
    void turnCounter_data();
    void turnCounter();
    void soakWholeGames();
};

void TstSeaBattle::computerFleet_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QString>("fleet");
    QTest::addColumn<QList<int>>("pairsPerShip"); // the (x, o) pairs each ship draws after its re-seed

    const QList<int> onePairEach(10, 1);
    QTest::newRow("every ship takes its first draw") << kBaseDraws << kBaseFleet << onePairEach;
    QList<int> standing = kBaseDraws;
    standing[10] = 39; // ship 6 drawn lying at row 4, column 10: off the board, so it stands there
    standing[11] = 1;
    QTest::newRow("lying ship off the board stands at the same start")
        << standing << "####.###..|..........|#.##.#....|#....#...#|#........#|"
                       "...#......|......#...|..........|.........#|#........." << onePairEach;
    QList<int> redrawn = kBaseDraws;
    redrawn.insert(10, 1); // ship 6 first drawn at row 4, column 4, lying: touches ship 4
    redrawn.insert(10, 43); // either way
    QTest::newRow("refused pair redrawn without re-seeding")
        << redrawn << kBaseFleet << QList<int>{1, 1, 1, 1, 1, 2, 1, 1, 1, 1};
    // Nine ships that leave water only at row 10, column 10, which is never
    // drawn; a thousand refusals later the fleet starts again.
    QList<int> blocked = draws({{92, 1}, {27, 1}, {42, 0}, {55, 0}, {58, 1}, {88, 1}, {11, 0}, {24, 0}, {8, 0}});
    QTest::newRow("no start cell left for the last ship")
        << blocked + QList<int>(2000, 0) + kBaseDraws << kBaseFleet << QList<int>(9, 1) + QList<int>{1000} + onePairEach;
}

void TstSeaBattle::computerFleet()
{
    QFETCH(QList<int>, values);
    QFETCH(QString, fleet);
    QFETCH(QList<int>, pairsPerShip);

    StrictRandom random(std::deque<int>(values.begin(), values.end()));
    SeaBattle game;
    game.NewGame(random);
    QCOMPARE(picture(game, Board::Computer), fleet);
    // Each ship re-seeds once, then draws x from 0..96 and o from 0..1 until
    // a start takes it.
    QList<int> asked;
    for (int pairs : pairsPerShip) {
        asked << 0;
        for (int i = 0; i < pairs; ++i)
            asked << 97 << 2;
    }
    QCOMPARE(random.asked, asked);
    QCOMPARE(picture(game, Board::Player).left(11), QString("cccc......|"));
}

void TstSeaBattle::soakComputerFleets()
{
    for (unsigned seed = 0; seed < 20000; ++seed) {
        SeededRandom random(seed);
        SeaBattle game;
        game.PlaceComputerFleet(random);
        QCOMPARE(shipLengths(picture(game, Board::Computer), "#"), kFleet);
    }
}

void TstSeaBattle::keys_data()
{
    using X = ShipExtent;
    QTest::addColumn<int>("ship");
    QTest::addColumn<ShipExtent>("from");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<ShipExtent>("to");

    QTest::newRow("one cell left from column 1 comes on at column 10") << 7 << X{5, 1, 5, 1} << "l" << "1" << X{5, 10, 5, 10};
    QTest::newRow("two cells in columns 9-10 stop at the right edge") << 4 << X{2, 9, 2, 10} << "r" << "0" << X{2, 9, 2, 10};
    QTest::newRow("lying four cells leave row 10 for row 1") << 1 << X{10, 2, 10, 5} << "d" << "1" << X{1, 2, 1, 5};
    QTest::newRow("four cells in row 1 do not turn") << 1 << X{1, 3, 1, 6} << "t" << "0" << X{1, 3, 1, 6};
    QTest::newRow("four cells standing in column 1 do not turn") << 1 << X{3, 1, 6, 1} << "t" << "0" << X{3, 1, 6, 1};
    QTest::newRow("three cells in row 10 do not turn") << 2 << X{10, 3, 10, 5} << "t" << "0" << X{10, 3, 10, 5};
    QTest::newRow("four cells in row 3 turn into column 2") << 1 << X{3, 1, 3, 4} << "t" << "1" << X{1, 2, 4, 2};
    QTest::newRow("row 5, columns 3-6 turns into column 4") << 1 << X{5, 3, 5, 6} << "t" << "1" << X{3, 4, 6, 4};
    QTest::newRow("and turned again into row 4") << 1 << X{5, 3, 5, 6} << "tt" << "11" << X{4, 2, 4, 5};
    QTest::newRow("three cells turn about the middle") << 2 << X{5, 5, 5, 7} << "t" << "1" << X{4, 6, 6, 6};
}

void TstSeaBattle::keys()
{
    QFETCH(int, ship);
    QFETCH(ShipExtent, from);
    QFETCH(QString, keys);
    QFETCH(QString, answers);
    QFETCH(ShipExtent, to);

    SeaBattle game;
    SeaBattleLayout::setPhase(game, gpPlacing);
    SeaBattleLayout::setPlacement(game, ship, from);
    QCOMPARE(press(game, keys), answers);
    QCOMPARE(game.Cursor(), to);
    SeaBattle expected;
    SeaBattleLayout::setPlacement(expected, ship, to);
    QCOMPARE(picture(game, Board::Player), picture(expected, Board::Player));
}

void TstSeaBattle::placement()
{
    SeaBattle game;
    QCOMPARE(press(game, "rte"), "00-");
    SeaBattleLayout::setPhase(game, gpBattle);
    QCOMPARE(game.ResolvePlayerShot(1, 1).result, ShotResult::Miss); // a turn of an old game
    ScriptedRandom random(std::deque<int>(kBaseDraws.begin(), kBaseDraws.end()));
    game.NewGame(random);
    QCOMPARE(game.ResolvePlayerShot(1, 1).result, ShotResult::Ignored);
    // Ship 2 over ship 1, which it also touches: occupied; then beside it,
    // then clear of it. Ship 3 touching ship 2 at a corner.
    QCOMPARE(press(game, "e e de de dddrrre"), "P O 1T 1P 111111T");
    QCOMPARE(picture(game, Board::Player), QString("####......|..........|###.......|...ccc....|..........|"
                                                   "..........|..........|..........|..........|.........."));
    QCOMPARE(game.TurnCount(), 1);
    SeaBattleLayout::setPlacement(game, 10, {9, 9, 9, 9});
    QCOMPARE(press(game, "ed"), "L0");
    QCOMPARE(game.Phase(), gpBattle);
    QCOMPARE(game.TurnCount(), 0);
}

void TstSeaBattle::turnCounter_data()
{
    QTest::addColumn<QList<int>>("shots"); // cell indexes, 10 * (row - 1) + column - 1
    QTest::addColumn<int>("score");

    QList<int> ships;
    for (int i = 0; i < 100; ++i)
        if (kBaseFleet[i + i / 10] == '#')
            ships << i;
    QTest::newRow("never a miss scores 1") << ships << 1;
    QTest::newRow("one miss before the last sinking scores 2") << QList<int>{11} + ships << 2;
    QTest::newRow("a missed cell fired at again counts") << QList<int>{11, 11} + ships << 3;
    QTest::newRow("water round a sunk ship counts") << ships.mid(0, 4) + QList<int>{14} + ships.mid(4) << 2;
    QTest::newRow("a hit ship part counts") << ships.mid(0, 2) + QList<int>{1} + ships.mid(2) << 2;
}

void TstSeaBattle::turnCounter()
{
    QFETCH(QList<int>, shots);
    QFETCH(int, score);

    SeaBattle game;
    QVERIFY(SeaBattleLayout::setBoard(game, Board::Computer, kBaseFleet.toStdString()));
    SeaBattleLayout::setPhase(game, gpBattle);
    int wasted = 0;
    PlayerShot shot;
    for (int cell : shots) {
        shot = game.ResolvePlayerShot(cell / 10 + 1, cell % 10 + 1);
        QCOMPARE(shot.turn, wasted + 1);
        wasted += shot.result == ShotResult::Miss || shot.result == ShotResult::Wasted;
        if (shot.result == ShotResult::FatalHit && game.SinkShip(Board::Computer, shot.extent) == SinkResult::Won)
            break;
        QCOMPARE(game.TurnCount(), wasted);
    }
    QCOMPARE(shot.turn, score);
    QCOMPARE(game.Phase(), gpIdle);
    // Every cell round every ship marked, the corners of each ring too.
    QCOMPARE(picture(game, Board::Computer), QString("****o***o.|oooooooooo|*o**o*oo*o|*oooo*oo*o|*ooooooooo|"
                                                     "ooo*oooo..|..oooo*o..|.....ooooo|oo......o*|*o......oo"));
}

void TstSeaBattle::soakWholeGames()
{
    int won = 0;
    for (unsigned seed = 0; seed < 400; ++seed) {
        std::mt19937 rng(seed);
        SeededRandom random(seed);
        SeaBattle game;
        // The player's fleet: the cursor steered to random places, turned at
        // random, Enter pressed there. Some fleets leave the next ship no
        // room, as a player's may; those start again.
        for (int tries = 0; game.Phase() != gpBattle; ++tries) {
            QVERIFY(tries < 20000);
            if (tries % 2000 == 0)
                game.NewGame(random);
            if (rng() % 2 && game.ShipLength() > 1)
                QVERIFY(steerTo(game, 5, 4) && game.RotateCursor());
            const ShipExtent c = game.Cursor();
            QVERIFY(steerTo(game, 1 + rng() % (10 - c.bottom + c.top), 1 + rng() % (10 - c.right + c.left)));
            game.PlaceShip();
            QCOMPARE(shipLengths(picture(game, Board::Player), "#C"),
                     kFleet.mid(0, game.Phase() == gpBattle ? 10 : game.ShipIndex() - 1));
        }

        std::array<bool, 100> firedAt{};
        QString fault;
        auto check = [&](const QString& what, bool ok) {
            if (!ok && fault.isEmpty())
                fault = what + ": " + picture(game, Board::Player) + " " + picture(game, Board::Computer);
        };
        auto checkBoards = [&] {
            const QString mine = picture(game, Board::Player), theirs = picture(game, Board::Computer);
            check("codes", !mine.contains(u'c') && !mine.contains(u'C') && !(mine + theirs).contains(u'?'));
            check("fleets", shipLengths(mine, "#x*") == kFleet && shipLengths(theirs, "#x*") == kFleet);
            check("sunk counts", shipLengths(mine, "*").size() == game.PlayerSunk()
                                     && shipLengths(theirs, "*").size() == game.EnemySunk());
        };
        ComputerTurnHooks hooks;
        hooks.afterShot = [&](const ComputerShot& shot) {
            const int i = 10 * (shot.row - 1) + shot.column - 1;
            const bool fresh = shot.row > 0 && !firedAt[i];
            check("fired twice", fresh);
            if (fresh)
                firedAt[i] = true;
            for (int d = 0; d < 9; ++d)
                check("next to a sunk ship", game.PlayerAt(shot.row + d / 3 - 1, shot.column + d % 3 - 1) != psSunk);
            checkBoards();
        };
        hooks.afterSink = [&](SinkResult) { checkBoards(); };
        auto strength = [&] { return rng() % 2 ? Strength::Beginner : Strength::Professional; };
        ComputerOpponent opponent;

        int wasted = 0;
        while (game.Phase() == gpBattle) {
            int r, c; // mostly cells not fired at yet, now and then any cell
            do {
                r = rng() % 10 + 1;
                c = rng() % 10 + 1;
            } while (rng() % 16 != 0 && game.ComputerAt(r, c) != csEmpty && game.ComputerAt(r, c) != csShip);
            const PlayerShot shot = game.ResolvePlayerShot(r, c);
            QCOMPARE(shot.turn, wasted + 1);
            if (shot.result == ShotResult::FatalHit) {
                won += game.SinkShip(Board::Computer, shot.extent) == SinkResult::Won;
            } else if (shot.result == ShotResult::Miss || shot.result == ShotResult::Wasted) {
                ++wasted;
                const TurnEnd end = PlayComputerTurn(game, opponent, random, strength, hooks);
                QCOMPARE(end == TurnEnd::Lost, game.PlayerSunk() == 10);
            }
            checkBoards();
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
            if (game.Phase() == gpBattle)
                QCOMPARE(game.TurnCount(), wasted);
        }
        QVERIFY(game.EnemySunk() == 10 || game.PlayerSunk() == 10);
    }
    QVERIFY(won > 0 && won < 400);
}

QTEST_GUILESS_MAIN(TstSeaBattle)
#include "tst_seabattle.moc"
