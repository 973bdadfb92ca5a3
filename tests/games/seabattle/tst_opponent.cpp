// The computer opponent: its shots at a hit ship at either strength, whole
// turns with the order of the window's hooks, and the count round the board.
#include "scriptedrandom.h"
#include "seabattlelayout.h"

#include <QTest>

#include "opponent.h"
#include "seabattle.h"

Q_DECLARE_METATYPE(TurnEnd)

namespace {

const QString kEmpty = "..........|..........|..........|..........|..........|"
                       "..........|..........|..........|..........|..........";
// A four-cell ship in row 4, columns 3 to 6.
const QString kOneShip = QString(kEmpty).replace(35, 4, "####");

QString cell(int row, int column)
{
    return QString("%1,%2").arg(row).arg(column);
}

} // namespace

class TstOpponent : public QObject {
    Q_OBJECT
private slots:
    void turn_data();
    void turn();
};

void TstOpponent::turn_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("strengths"); // P or B for each shot, the last one kept
    QTest::addColumn<QList<int>>("ks");
    QTest::addColumn<QString>("targets");
    // b before a shot; M, H, F, I after a miss, hit, fatal hit, ignored shot;
    // s, L after a sinking.
    QTest::addColumn<QString>("hooks");
    QTest::addColumn<TurnEnd>("end");
    QTest::addColumn<QString>("after"); // the player's board, when given

    QTest::newRow("professional takes the hit ship from its right end")
        << kOneShip << "P" << QList<int>{34, 1, 1, 1, 1} << "4,4 4,6 4,5 4,3 1,1" << "bHbHbHbFsbM" << TurnEnd::Missed
        << "o.........|..........|.oooooo...|.o****o...|.oooooo...|..........|..........|..........|..........|..........";
    QTest::newRow("beginner fires at random after a hit")
        << kOneShip << "B" << QList<int>{34, 1} << "4,4 1,1" << "bHbM" << TurnEnd::Missed << QString();
    QTest::newRow("strength switched between shots")
        << kOneShip << "PBPB" << QList<int>{34, 33, 1, 1} << "4,4 4,3 4,6 1,1" << "bHbHbHbM" << TurnEnd::Missed
        << QString();
    QTest::newRow("two sinkings in one turn")
        << QString(kEmpty).replace(0, 3, "#.#") << "P" << QList<int>{1, 1, 1} << "1,1 1,3 1,5" << "bFsbFsbM"
        << TurnEnd::Missed
        << "*o*oo.....|oooo......|..........|..........|..........|..........|..........|..........|..........|..........";
    QTest::newRow("the tenth ship sunk ends the game")
        << QString(kEmpty).replace(0, 10, "#.#.#.#.#.").replace(22, 10, "#.#.#.#.#.") << "B"
        << QList<int>(10, 1) << "1,1 1,3 1,5 1,7 1,9 3,1 3,3 3,5 3,7 3,9" << QString("bFs").repeated(9) + "bFL"
        << TurnEnd::Lost << QString();
    // Six cells not fired at: 1,2 1,4 1,6 10,4 10,5 10,7. Counting k of them
    // goes round and round.
    const QString fewOpen = "o.o#o.oooo|" + QString("oooooooooo|").repeated(8) + "ooo.#o.ooo";
    QTest::newRow("k 7 of 6 open cells is the first")
        << fewOpen << "P" << QList<int>{7} << "1,2" << "bM" << TurnEnd::Missed << QString();
    QTest::newRow("k 90 of 5 open cells is the fifth")
        << fewOpen << "P" << QList<int>{2, 90} << "1,4 10,7" << "bFsbM" << TurnEnd::Missed << QString();
    QTest::newRow("k 90 on a fresh board stops short of row 10")
        << kEmpty << "P" << QList<int>{90} << "9,10" << "bM" << TurnEnd::Missed << QString();
    QTest::newRow("nothing left to fire at")
        << QString(kEmpty).replace(u'.', u'o') << "P" << QList<int>{1} << "0,0" << "bI" << TurnEnd::Ignored << QString();
}

void TstOpponent::turn()
{
    QFETCH(QString, board);
    QFETCH(QString, strengths);
    QFETCH(QList<int>, ks);
    QFETCH(QString, targets);
    QFETCH(QString, hooks);
    QFETCH(TurnEnd, end);
    QFETCH(QString, after);

    SeaBattle game;
    QVERIFY(SeaBattleLayout::setBoard(game, Board::Player, board.toStdString()));
    SeaBattleLayout::setPhase(game, gpBattle);
    ScriptedRandom random;
    for (int k : ks)
        random.values.push_back(k - 1);
    ComputerOpponent opponent;
    int shots = 0;
    auto strength = [&] {
        return strengths[std::min<int>(shots++, strengths.size() - 1)] == 'P' ? Strength::Professional : Strength::Beginner;
    };
    QStringList fired;
    QString log;
    ShipExtent lastShip;
    const ComputerTurnHooks calls{
        [&] { log += 'b'; },
        [&](const ComputerShot& shot) {
            fired << cell(shot.row, shot.column);
            log += "IMWHF"[int(shot.result)];
            // The ship sinks only after this hook: it still shows as hit.
            if (shot.result == ShotResult::FatalHit && game.PlayerAt(shot.row, shot.column) != psHit)
                log += '!';
            lastShip = shot.extent;
        },
        [&](SinkResult sunk) {
            log += sunk == SinkResult::Sunk ? 's' : sunk == SinkResult::Lost ? 'L' : '?';
            if (game.PlayerAt(lastShip.top, lastShip.left) != psSunk)
                log += '!';
        }};
    QCOMPARE(PlayComputerTurn(game, opponent, random, strength, calls), end);
    QCOMPARE(fired.join(' '), targets);
    QCOMPARE(log, hooks);
    // Before every shot, whatever aims it: a re-seed and k from 1..90.
    QList<int> asked;
    for (qsizetype i = 0; i < ks.size(); ++i)
        asked << 0 << 90;
    QCOMPARE(random.asked, asked);
    QCOMPARE(game.Phase(), end == TurnEnd::Lost ? gpIdle : gpBattle);
    if (!after.isEmpty())
        QCOMPARE(QString::fromStdString(SeaBattleLayout::picture(game, Board::Player)), after);
}

QTEST_GUILESS_MAIN(TstOpponent)
#include "tst_opponent.moc"
