// The minefield: exact fields from scripted draws, neighbour counts at the
// edges, scripted games through every state, and a soak over many seeds.
#include "minefieldlayout.h"
#include "scriptedrandom.h"

#include <QTest>

#include "minefield.h"

#include <random>
#include <set>

using Result = Minefield::OpenResult;
using State = Minefield::State;

namespace {

// A field as its ten rows joined by '|': '*' a mine, '.' no mine around,
// otherwise the count.
QString picture(const Minefield& field)
{
    QString text;
    for (int i = 0; i < 100; ++i) {
        const int v = field.ValueAt(i / 10 + 1, i % 10 + 1);
        text += QString(i % 10 == 0 && i > 0 ? "|" : "") + (v < 0 ? u'*' : v == 0 ? u'.' : QChar(u'0' + v));
    }
    return text;
}

std::vector<std::pair<int, int>> minesIn(const QString& picture)
{
    std::vector<std::pair<int, int>> mines;
    const QStringList rows = picture.split(u'|');
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            if (rows[r][c] == u'*')
                mines.emplace_back(r + 1, c + 1);
    return mines;
}

} // namespace

class TstMinefield : public QObject {
    Q_OBJECT
private slots:
    void fieldFromDraws_data();
    void fieldFromDraws();
    void neighbourCounts_data();
    void neighbourCounts();
    void mineCountTakesEffectOnTheNextField();
    void playing_data();
    void playing();
    void soakFieldsAndClicks();
};

void TstMinefield::fieldFromDraws_data()
{
    QTest::addColumn<QList<int>>("draws");
    QTest::addColumn<QString>("expected");

    QTest::newRow("five clean pairs, row first")
        << QList<int>{1, 2, 3, 10, 10, 4, 6, 6, 7, 6}
        << "1*1.......|111.....11|........1*|........11|....111...|....2*2...|....2*2...|....111...|..111.....|..1*1.....";
    QTest::newRow("pairs with a 0 and repeated cells discarded")
        << QList<int>{0, 3, 2, 2, 4, 0, 2, 2, 2, 3, 0, 0, 4, 1, 9, 9, 2, 3, 10, 9}
        << "1221......|1**1......|2321......|*1........|11........|..........|..........|.......111|.......2*2|.......2*2";
}

void TstMinefield::fieldFromDraws()
{
    QFETCH(QList<int>, draws);
    QFETCH(QString, expected);

    Minefield field;
    QVERIFY(field.SetMineCount(5));
    ScriptedRandom random(std::deque<int>(draws.begin(), draws.end()));
    field.NewField(random);
    QCOMPARE(picture(field), expected);
    // One re-seed, then each pair drawn from 0..10, the row first.
    QCOMPARE(random.asked, QList<int>{0} + QList<int>(draws.size(), 11));
}

void TstMinefield::neighbourCounts_data()
{
    // Each picture is both the mines to lay and the counts they must give.
    QTest::addColumn<QString>("field");

    QTest::newRow("corners with three mines around")
        << "3*2.......|**2.......|221.......|..........|..........|..........|..........|.......122|.......2**|.......2*3";
    QTest::newRow("inner cell with eight mines around")
        << "..........|..........|..12321...|..2***2...|..3*8*3...|..2***2...|..12321...|..........|..........|..........";
    QTest::newRow("no wrap from one row's end to the next row")
        << "11........|*1........|11........|........11|........1*|........11|..........|..........|........11|........1*";
}

void TstMinefield::neighbourCounts()
{
    QFETCH(QString, field);
    Minefield minefield;
    layMines(minefield, minesIn(field));
    QCOMPARE(picture(minefield), field);
}

void TstMinefield::mineCountTakesEffectOnTheNextField()
{
    Minefield field;
    SeededRandom random(11);
    field.NewField(random);
    const QString laid = picture(field);
    QCOMPARE(laid.count(u'*'), 20);
    QVERIFY(!field.SetMineCount(4));
    QVERIFY(!field.SetMineCount(51));
    QVERIFY(field.SetMineCount(50));
    QCOMPARE(picture(field), laid);
    field.NewField(random);
    QCOMPARE(picture(field).count(u'*'), 50);
}

void TstMinefield::playing_data()
{
    // On a field with its 50 mines in rows 6 to 10 (the mine count staying
    // at 20: the win goes by the mines laid): s start, t tick, T a thousand
    // ticks, p pause toggle, x stop, o open (1, 1), m open the mine at
    // (10, 10), a open the first 49 safe cells, l open the last, (5, 10).
    QTest::addColumn<QString>("steps");
    QTest::addColumn<Result>("lastOpen");
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("opened");

    QTest::newRow("before any game") << "ttop" << Result::Ignored << State::Ready << 0 << 0;
    QTest::newRow("running") << "sttto" << Result::Number << State::InProgress << 3 << 1;
    QTest::newRow("clock stays at 999") << "sTTt" << Result::Ignored << State::InProgress << 999 << 0;
    QTest::newRow("paused") << "sttpto" << Result::Ignored << State::Paused << 2 << 0;
    QTest::newRow("resumed") << "sttptpto" << Result::Number << State::InProgress << 3 << 1;
    QTest::newRow("stopped while paused") << "stpxt" << Result::Ignored << State::Ready << 0 << 0;
    QTest::newRow("a new game counts from 0") << "sTst" << Result::Ignored << State::InProgress << 1 << 0;
    QTest::newRow("reopening counts once, cannot win") << "saot" << Result::Number << State::InProgress << 1 << 49;
    QTest::newRow("lost on a mine") << "sotmtp" << Result::Mine << State::Lost << 1 << 2;
    QTest::newRow("won on the last safe cell") << "sattltp" << Result::Won << State::Won << 2 << 50;
    QTest::newRow("won before the first second") << "sal" << Result::Won << State::Won << 0 << 50;
}

void TstMinefield::playing()
{
    QFETCH(QString, steps);
    QFETCH(Result, lastOpen);
    QFETCH(State, state);
    QFETCH(int, seconds);
    QFETCH(int, opened);

    Minefield field;
    layMines(field, minesIn(".|.|.|.|.|**********|**********|**********|**********|**********"));
    Result result = Result::Ignored;
    for (QChar step : steps) {
        switch (step.unicode()) {
        case 's': field.Start(); break;
        case 't': field.Tick(); break;
        case 'T': for (int i = 0; i < 1000; ++i) field.Tick(); break;
        case 'p': field.TogglePause(); break;
        case 'x': field.Stop(); break;
        case 'o': result = field.OpenCell(1, 1); break;
        case 'm': result = field.OpenCell(10, 10); break;
        case 'l': result = field.OpenCell(5, 10); break;
        case 'a':
            for (int i = 0; i < 49; ++i)
                QCOMPARE(field.OpenCell(i / 10 + 1, i % 10 + 1), Result::Number);
            break;
        }
    }
    QCOMPARE(result, lastOpen);
    QCOMPARE(field.state(), state);
    QCOMPARE(field.InProgress(), state == State::InProgress);
    QCOMPARE(field.Seconds(), seconds);
    QCOMPARE(field.OpenedCount(), opened);

    // Clicks off the field never open anything, and on it only during a game.
    for (int r = -1; r <= 12; ++r) {
        for (int c = -1; c <= 12; ++c) {
            const bool onField = r >= 1 && r <= 10 && c >= 1 && c <= 10;
            if (onField && field.InProgress())
                continue;
            const bool wasOpen = field.OpenedAt(r, c);
            QCOMPARE(field.OpenCell(r, c), Result::Ignored);
            QCOMPARE(field.OpenedAt(r, c), wasOpen);
        }
    }
    QCOMPARE(field.OpenedCount(), opened);
}

void TstMinefield::soakFieldsAndClicks()
{
    // One field for all the games: each new field must close what the game
    // before opened, and leave the state to the caller.
    Minefield field;
    std::mt19937 clicks(2024);
    std::uniform_int_distribution<int> anyLine(-1, 12);
    for (unsigned seed = 0; seed < 3000; ++seed) {
        const QByteArray where = "seed " + QByteArray::number(seed);
        const int mines = 5 + int(seed % 46);
        QVERIFY(field.SetMineCount(mines));
        const State before = field.state();
        SeededRandom random(seed);
        field.NewField(random);
        QCOMPARE(random.reseeds, 1);
        QCOMPARE(field.state(), before);
        QVERIFY2(picture(field).count(u'*') == mines, where);
        for (int i = 0; i < 100; ++i) {
            const int r = i / 10 + 1, c = i % 10 + 1;
            int around = 0;
            for (int j = 0; j < 9; ++j)
                around += field.ValueAt(r + j / 3 - 1, c + j % 3 - 1) < 0;
            QVERIFY2(field.ValueAt(r, c) < 0 || field.ValueAt(r, c) == around, where);
        }

        // Half the games step round the mines, so wins come up as well.
        const bool avoidMines = seed % 2;
        std::set<std::pair<int, int>> opened;
        field.Start();
        for (int i = 0; i < 5000 && field.InProgress(); ++i) {
            const int r = anyLine(clicks), c = anyLine(clicks);
            const bool onField = r >= 1 && r <= 10 && c >= 1 && c <= 10;
            const bool mine = onField && field.ValueAt(r, c) < 0;
            if (mine && avoidMines)
                continue;
            if (onField)
                opened.emplace(r, c);
            Result expected = Result::Ignored;
            if (onField)
                expected = mine ? Result::Mine : int(opened.size()) == 100 - mines ? Result::Won : Result::Number;
            QVERIFY2(field.OpenCell(r, c) == expected, where);
            QVERIFY2(field.OpenedCount() == int(opened.size()), where);
            QVERIFY2(!onField || field.OpenedAt(r, c), where);
        }
        QVERIFY2(!avoidMines || field.state() == State::Won, where);
    }
}

QTEST_GUILESS_MAIN(TstMinefield)
#include "tst_minefield.moc"
