// The sea battle's window driven by real keys and clicks: placing the fleet
// in either keyboard layout, the cue of every event, a won battle through the
// dialogs into the score file, a lost one into the lost-game dialog, the
// status texts in order, a battle that goes on past failing cues, input made
// while a cue sounded, and a cell picture that is not a file.
#include "datafiles.h"
#include "recordingcues.h"
#include "scriptedopponent.h"
#include "seabattlelayout.h"
#include "testmain.h"
#include "testutil.h"

#include "tdigitaldisplay.h"
#include "tformsea.h"
#include "themispherebutton.h"
#include "timage.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>

#include <QElapsedTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <functional>
#include <future>
#include <thread>

using Step = std::function<void()>;
Q_DECLARE_METATYPE(Step)

namespace {

// Ten ships, none touching: rows 1, 3 and 5 hold them.
const char* const kFleet = "####.###.#|"
                           "..........|"
                           "###.##.##.|"
                           "..........|"
                           "##.#.#.#..|"
                           "..........|"
                           "..........|"
                           "..........|"
                           "..........|"
                           "..........";

// The cells of kFleet in reading order.
std::deque<std::pair<int, int>> fleetCells()
{
    std::deque<std::pair<int, int>> cells;
    const std::string fleet = kFleet;
    int k = 0;
    for (char c : fleet) {
        if (c == '|')
            continue;
        if (c == '#')
            cells.push_back({k / 10 + 1, k % 10 + 1});
        ++k;
    }
    return cells;
}

void key(const QString& text, quint64 timestamp = 0)
{
    const int code = text == QLatin1String("\r") ? Qt::Key_Return : 0;
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    press.setTimestamp(timestamp);
    QApplication::sendEvent(FormSea, &press);
}

TImage* enemyCell(int row, int column)
{
    return FormSea->Images[10 * (row - 1) + column - 1];
}

void fire(int row, int column)
{
    QTest::mouseClick(enemyCell(row, column), Qt::LeftButton);
}

// A press and release on the cell made at the given time of the window
// system; sent at once, or queued as a click made while a handler runs.
void clickAt(int row, int column, quint64 timestamp, bool queued)
{
    TImage* cell = enemyCell(row, column);
    const QPoint at(5, 5);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        auto* event = new QMouseEvent(type, at, cell->mapToGlobal(at), Qt::LeftButton,
                                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        event->setTimestamp(timestamp++);
        if (queued) {
            QCoreApplication::postEvent(cell, event);
        } else {
            QApplication::sendEvent(cell, event);
            delete event;
        }
    }
}

QString status()
{
    return FormSea->StatusLabel->text();
}

// Both fleets laid out as kFleet, the player's last ship placed by Enter.
void battle()
{
    SeaBattle& game = FormSea->Battle;
    std::string lastMissing = kFleet;
    lastMissing[5 * 11 - 4] = '.'; // row 5, column 8
    QVERIFY(SeaBattleLayout::setBoard(game, Board::Player, lastMissing));
    QVERIFY(SeaBattleLayout::setBoard(game, Board::Computer, kFleet));
    SeaBattleLayout::setPhase(game, gpPlacing);
    SeaBattleLayout::setPlacement(game, 10, {5, 8, 5, 8});
    key(QStringLiteral("\r"));
    QCOMPARE(game.Phase(), gpBattle);
    QCOMPARE(FormSea->TimerBoard->text(), QStringLiteral("000"));
    QCOMPARE(status(), QStringLiteral("Ваш ход..."));
}

} // namespace

class TstFormSea : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void placementKeysInBothLayouts();
    void cueOfEachEvent_data();
    void cueOfEachEvent();
    void wonBattleEntersTheTable();
    void lostBattleOpensTheLostGameDialog();
    void battleGoesOnPastFailingCues();
    void inputMadeDuringACueIsDropped();
    void pictureThatIsNotAFileGivesThePlainCell();

private:
    QTemporaryDir* m_dir = nullptr;
    QString m_oldCurrent;
    ScriptedOpponent m_opponent;
    RecordingCuePlayer m_cues;
};

void TstFormSea::initTestCase()
{
    // The cell pictures are loaded from the current directory; the build
    // writes them beside the program.
    QDir::setCurrent(QStringLiteral(TIVORAMA_BUILD_DIR));
    CreateForm(FormSea);
    QCOMPARE(FormSea->missingPictures(), QStringList());
    FormSea->makeDialog(TGameDialog::Lost, QStringLiteral("FormSeaLose"));
    FormSea->makeDialog(TGameDialog::NoRecord, QStringLiteral("FormSeaBadover"));
    FormSea->makeDialog(TGameDialog::Record, QStringLiteral("FormSeaOver"));
    FormSea->makeDialog(TGameDialog::Table, QStringLiteral("FormSeaTable"));
    FormSea->setOpponent(&m_opponent);
    FormSea->setCuePlayer(&m_cues);
}

void TstFormSea::init()
{
    m_dir = new QTemporaryDir;
    m_oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    datafiles::setProgramPath(m_dir->filePath(QStringLiteral("tivorama")));
    for (int n = 1; n <= 23; ++n)
        QVERIFY(writeTestWav(QStringLiteral("%1.wav").arg(n), 20));
    m_opponent.targets.clear();
    m_cues.whilePlaying = nullptr;
    FormSea->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormSea);
}

void TstFormSea::cleanup()
{
    FormSea->setRandom(nullptr);
    m_cues.follow(nullptr);
    FormSea->close();
    m_cues.take();
    QDir::setCurrent(m_oldCurrent);
    datafiles::setProgramPath(QString());
    delete m_dir;
}

void TstFormSea::placementKeysInBothLayouts()
{
    fire(1, 1); // no battle yet: nothing
    QCOMPARE(FormSea->TimerBoard->text(), QStringLiteral("000"));
    QTest::keyClick(FormSea, Qt::Key_F2);
    QCOMPARE(status(), QStringLiteral("Расставьте свои корабли, используя клавиши Q, A, I, O, Enter и Пробел"));
    // Down, right, up and left again in each layout and case: back at the start.
    for (const QString& keys : {QStringLiteral("aoqi"), QStringLiteral("ФЩЙШ"), QStringLiteral("фщйш"),
                                QStringLiteral("AOQI")}) {
        for (const QChar c : keys)
            key(QString(c));
        QCOMPARE(FormSea->Battle.Cursor(), (ShipExtent{1, 1, 1, 4}));
    }
    key(QStringLiteral("a"));
    key(QStringLiteral("z")); // not a placement key
    key(QStringLiteral("a"));
    QCOMPARE(FormSea->Battle.Cursor(), (ShipExtent{3, 1, 3, 4}));
    key(QStringLiteral(" "));
    QCOMPARE(FormSea->Battle.Cursor(), (ShipExtent{1, 2, 4, 2}));
    QCOMPARE(FormSea->Images2[1]->picture(), &FormSea->picture(TFormSea::pcSet));
    key(QStringLiteral("\r"));
    QCOMPARE(FormSea->Images2[1]->picture(), &FormSea->picture(TFormSea::pcSet)); // the next cursor, over it
    QCOMPARE(FormSea->Images2[11]->picture(), &FormSea->picture(TFormSea::pcShip));
    QCOMPARE(FormSea->Battle.ShipIndex(), 2);
    key(QStringLiteral("\r"));
    QCOMPARE(status(), QStringLiteral("Здесь уже находится ваш корабль..."));
    for (const char* k : {"a", "a", "a", "a", "\r"})
        key(QString::fromLatin1(k));
    QCOMPARE(status(), QStringLiteral("Недостаточно места для размещения вашего корабля..."));
}

void TstFormSea::cueOfEachEvent_data()
{
    QTest::addColumn<Step>("setUp");
    QTest::addColumn<Step>("event");
    QTest::addColumn<QList<int>>("draws"); // what the event's random draws give, in order
    QTest::addColumn<QString>("cues");     // what the recording player wrote down

    auto placing = [](ShipExtent cursor) {
        return Step([cursor] {
            SeaBattleLayout::setBoard(FormSea->Battle, Board::Player, "####......" + std::string(90, '.'));
            SeaBattleLayout::setPhase(FormSea->Battle, gpPlacing);
            SeaBattleLayout::setPlacement(FormSea->Battle, 2, cursor);
        });
    };
    auto enter = Step([] { key(QStringLiteral("\r")); });
    auto fireAt = [](int row, int column) { return Step([row, column] { fire(row, column); }); };
    // The battle, the computer to fire at these cells.
    auto battleWith = [this](std::deque<std::pair<int, int>> targets) {
        return Step([this, targets] {
            battle();
            m_opponent.targets = targets;
        });
    };
    const QString missCues = QStringLiteral("23.wav 1/4, Random(2), 19.wav, reseed, Random(3), 21.wav, ");

    QTest::newRow("a ship placed") << placing({3, 1, 3, 3}) << enter << QList<int>{} << "15.wav";
    QTest::newRow("a placement refused: no cue") << placing({1, 1, 1, 3}) << enter << QList<int>{} << "";
    QTest::newRow("the player hits") << battleWith({}) << fireAt(1, 1) << QList<int>{} << "14.wav 1/4";
    QTest::newRow("the player sinks a ship") << battleWith({}) << fireAt(1, 10) << QList<int>{} << "14.wav 1/4, 7.wav";
    QTest::newRow("the player misses, so does the computer")
        << battleWith({{2, 2}}) << fireAt(10, 1) << QList<int>{1, 1} << missCues + "23.wav 1/4";
    QTest::newRow("a shot at a cell fired at before sounds as a miss")
        << Step([battleWith] {
               battleWith({{2, 2}, {2, 3}})();
               fire(10, 1);
           })
        << fireAt(10, 1) << QList<int>{1, 1} << missCues + "23.wav 1/4";
    QTest::newRow("the computer hits, sinks, then misses")
        << battleWith({{1, 1}, {1, 10}, {2, 2}}) << fireAt(10, 1) << QList<int>{1, 1, 0, 2}
        << missCues + "14.wav 1/4, reseed, Random(3), 20.wav, 14.wav 1/4, 9.wav, reseed, Random(3), 22.wav, 23.wav 1/4";
    QTest::newRow("the player sinks the tenth ship, a record")
        << Step([] {
               battle();
               std::deque<std::pair<int, int>> cells = fleetCells();
               cells.pop_back();
               for (const auto& [r, c] : cells)
                   fire(r, c);
               closeModals(2);
           })
        << fireAt(5, 8) << QList<int>{1} << "14.wav 1/4, reseed, Random(3), 4.wav";
    QTest::newRow("the computer sinks the tenth ship")
        << Step([battleWith] {
               std::deque<std::pair<int, int>> cells = fleetCells();
               const auto last = cells.back();
               cells.pop_back();
               cells.push_back({2, 2});
               cells.push_back(last);
               battleWith(cells)();
               fire(10, 2);
               closeModals(1);
           })
        << fireAt(10, 1) << QList<int>{0, 0, 1}
        << "23.wav 1/4, Random(2), 18.wav, reseed, Random(3), 20.wav, 14.wav 1/4, 9.wav, reseed, Random(2), 17.wav";
}

void TstFormSea::cueOfEachEvent()
{
    QFETCH(Step, setUp);
    QFETCH(Step, event);
    QFETCH(QList<int>, draws);
    QFETCH(QString, cues);
    setUp();
    QCOMPARE(m_cues.recordEvent(*FormSea, draws, event), cues);
}

void TstFormSea::wonBattleEntersTheTable()
{
    battle();
    QStringList statuses;
    m_opponent.targets = {{1, 10}, {2, 2}};
    fire(10, 10); // a miss: the computer sinks the one-cell ship at 1,10, then misses
    statuses << status();
    m_opponent.targets = {{6, 6}};
    fire(9, 9);
    statuses << status();
    QCOMPARE(FormSea->TimerBoard->text(), QStringLiteral("002"));
    QCOMPARE(FormSea->Lamps[10]->faceColor(), QColor(255, 0, 0));
    QStringList dialogs;
    whenModalShown([&](QWidget* w) {
        dialogs << w->objectName();
        typeText(FormSea->Over->EditName, QStringLiteral("Адмирал"));
        QTest::keyClick(w, Qt::Key_Return);
        whenModalShown([&](QWidget* t) {
            dialogs << t->objectName();
            QTest::keyClick(t, Qt::Key_Return);
        });
    });
    for (const auto& [r, c] : fleetCells()) {
        fire(r, c);
        if (statuses.size() < 6)
            statuses << status();
    }
    const QString hit = QStringLiteral("Корабль противника подбит... Ваш ход...");
    QCOMPARE(statuses, (QStringList{QStringLiteral("Ваш корабль потоплен... Ваш ход..."), QStringLiteral("Ваш ход..."),
                                    hit, hit, hit, QStringLiteral("Корабль противника потоплен... Ваш ход...")}));
    QCOMPARE(dialogs, (QStringList{QStringLiteral("FormSeaOver"), QStringLiteral("FormSeaTable")}));
    QCOMPARE(status(), QStringLiteral("F2 - новая игра"));
    QCOMPARE(FormSea->Lamps[9]->faceColor(), QColor(255, 0, 0));
    QCOMPARE(FormSea->Images[0]->picture(), &FormSea->picture(TFormSea::pcKilled));
    Ttop fromFile;
    LoadTop(fromFile, 3);
    QCOMPARE(fromFile.Entries[0].Name, QStringLiteral("Адмирал"));
    QCOMPARE(fromFile.Entries[0].Score, 3);
}

void TstFormSea::lostBattleOpensTheLostGameDialog()
{
    battle();
    m_opponent.targets = fleetCells();
    QStringList dialogs;
    whenModalShown([&](QWidget* w) {
        dialogs << w->objectName();
        QTest::keyClick(w, Qt::Key_Return);
    });
    fire(10, 10);
    QCOMPARE(dialogs, QStringList{QStringLiteral("FormSeaLose")});
    QCOMPARE(FormSea->Battle.PlayerSunk(), 10);
    QCOMPARE(FormSea->Lamps[19]->faceColor(), QColor(255, 0, 0));
    QCOMPARE(status(), QStringLiteral("F2 - новая игра"));
    fire(1, 1); // the battle is over
    QCOMPARE(FormSea->TimerBoard->text(), QStringLiteral("001"));
    // F2 starts a placement; lamps and counter keep the old game until the fleet stands.
    QTest::keyClick(FormSea, Qt::Key_F2);
    QCOMPARE(FormSea->Lamps[19]->faceColor(), QColor(255, 0, 0));
    QCOMPARE(FormSea->TimerBoard->text(), QStringLiteral("001"));
}

void TstFormSea::battleGoesOnPastFailingCues()
{
    battle();
    ErrorCatcher catcher;
    for (int n = 1; n <= 23; ++n)
        QFile::remove(QStringLiteral("%1.wav").arg(n));
    // The sinking still happens, and so does the computer's whole turn.
    fire(1, 10);
    m_opponent.targets = {{1, 10}, {2, 2}};
    fire(10, 1);
    QCOMPARE(FormSea->Battle.ComputerAt(1, 10), csSunk);
    QCOMPARE(FormSea->Lamps[0]->faceColor(), QColor(255, 0, 0));
    QCOMPARE(FormSea->Battle.PlayerAt(1, 10), psSunk);
    QCOMPARE(FormSea->Battle.PlayerAt(2, 2), psMiss);
    QCOMPARE(status(), QStringLiteral("Ваш корабль потоплен... Ваш ход..."));
    QTRY_VERIFY(!catcher.errors.isEmpty());
}

void TstFormSea::inputMadeDuringACueIsDropped()
{
    // Times of the window system's clock, past any the test library's own
    // clicks have had, and ahead of them again afterwards.
    const quint64 t = quint64(QTest::lastMouseTimestamp) + 1000;
    QTest::lastMouseTimestamp += 1000000;
    SeaBattle& game = FormSea->Battle;
    QVERIFY(SeaBattleLayout::setBoard(game, Board::Player, std::string(100, '.')));
    SeaBattleLayout::setPhase(game, gpPlacing);
    SeaBattleLayout::setPlacement(game, 7, {1, 1, 1, 1});

    // Keys typed while the placing cue sounds are dropped; keys after it count.
    m_cues.whilePlaying = [t] {
        QThread::msleep(20);
        QCoreApplication::postEvent(FormSea, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
        auto* down = new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        down->setTimestamp(t + 10);
        QCoreApplication::postEvent(FormSea, down);
    };
    key(QStringLiteral("\r"), t);
    m_cues.whilePlaying = nullptr;
    QCoreApplication::processEvents();
    QCOMPARE(game.Cursor(), (ShipExtent{2, 1, 2, 1})); // only the key without a time came through
    key(QStringLiteral("a"), t + 5000);
    QCOMPARE(game.Cursor(), (ShipExtent{3, 1, 3, 1}));

    // A refused Enter plays no cue: the keys queued behind it all count.
    key(QStringLiteral("q"), t + 5001);
    auto* queued = new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    queued->setTimestamp(t + 5002);
    QCoreApplication::postEvent(FormSea, queued);
    key(QStringLiteral("\r"), t + 5003);
    QCOMPARE(status(), QStringLiteral("Недостаточно места для размещения вашего корабля..."));
    QCoreApplication::processEvents();
    QCOMPARE(game.Cursor(), (ShipExtent{3, 1, 3, 1}));

    // A click on the enemy's sea made while the computer's turn sounds is
    // dropped, and nothing else runs before the turn has ended.
    battle();
    bool ranDuringTheTurn = false;
    bool turnOver = false;
    m_opponent.targets = {{2, 2}};
    m_cues.whilePlaying = [&] {
        QThread::msleep(5);
        clickAt(9, 9, t + 6002, true);
        QMetaObject::invokeMethod(qApp, [&] { ranDuringTheTurn = !turnOver; }, Qt::QueuedConnection);
    };
    clickAt(10, 1, t + 6000, false);
    turnOver = true;
    m_cues.whilePlaying = nullptr;
    QCoreApplication::processEvents();
    QVERIFY(!ranDuringTheTurn);
    QCOMPARE(game.TurnCount(), 1);
    QCOMPARE(game.ComputerAt(9, 9), csEmpty);
    m_opponent.targets = {{2, 3}};
    clickAt(9, 9, t + 60000, false);
    QCOMPARE(game.ComputerAt(9, 9), csMiss);
}

void TstFormSea::pictureThatIsNotAFileGivesThePlainCell()
{
    // A pipe with no writer blocks whoever opens it. Should the window open
    // it, a writer comes after two seconds, so the wait fails the time check
    // below rather than hanging the suite.
    QVERIFY(mkfifo("seaship.bmp", 0600) == 0);
    std::promise<void> loaded;
    std::thread writer([done = loaded.get_future()] {
        if (done.wait_for(std::chrono::seconds(2)) == std::future_status::timeout) {
            const int fd = ::open("seaship.bmp", O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });
    // The other pictures are not here but in the program's folder, where a
    // data file is looked for next.
    datafiles::setProgramPath(QStringLiteral(TIVORAMA_BUILD_DIR "/tivorama"));
    QElapsedTimer timer;
    timer.start();
    TFormSea other;
    other.FormCreate();
    loaded.set_value();
    writer.join();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(other.missingPictures(), QStringList{QStringLiteral("seaship.bmp")});
    QCOMPARE(other.picture(TFormSea::pcShip).size(), QSize(25, 25));
    datafiles::setProgramPath(m_dir->filePath(QStringLiteral("tivorama"))); // the score table goes here
    // Reported as a missing picture is, when the player comes to the game.
    ErrorCatcher catcher;
    other.FormActivate();
    QCOMPARE(catcher.errors.size(), 1);
    QVERIFY(catcher.errors[0].contains(QStringLiteral("seaship.bmp")));
}

TIVORAMA_TEST_MAIN(TstFormSea)
#include "tst_formsea.moc"
