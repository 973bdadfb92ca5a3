// The sea battle's window driven by real keys and clicks: placing the fleet
// in either keyboard layout, a won battle through the dialogs into the score
// file, a lost one into the lost-game dialog, the status texts in order, and
// clicks made while a cue sounded.
#include "datafiles.h"
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

#include <deque>
#include <functional>

namespace {

// Fires where it is told, in order.
class ScriptedOpponent : public Opponent {
public:
    std::pair<int, int> ChooseTarget(Strength, bool, const ShipExtent&, const SeaBattle&) override
    {
        if (whileChoosing)
            whileChoosing();
        const auto target = targets.front();
        targets.pop_front();
        return target;
    }
    std::deque<std::pair<int, int>> targets;
    std::function<void()> whileChoosing;
};

// Ten ships, none touching: rows 1, 3, 5 and 7 hold them.
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

void key(const QString& text)
{
    const int code = text == QLatin1String("\r") ? Qt::Key_Return : 0;
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(FormSea, &press);
}

void fire(int row, int column)
{
    QTest::mouseClick(FormSea->Images[10 * (row - 1) + column - 1], Qt::LeftButton);
}

QString status()
{
    return FormSea->StatusLabel->text();
}

} // namespace

class TstFormSea : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void placementKeysInBothLayouts();
    void wonBattleEntersTheTable();
    void lostBattleOpensTheLostGameDialog();
    void clicksMadeDuringCuesAreDropped();

private:
    void battle();
    QTemporaryDir* m_dir = nullptr;
    QString m_oldCurrent;
    ScriptedOpponent m_opponent;
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
    FormSea->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormSea);
}

void TstFormSea::cleanup()
{
    FormSea->close();
    QDir::setCurrent(m_oldCurrent);
    datafiles::setProgramPath(QString());
    delete m_dir;
}

// Both fleets laid out as kFleet, the player's last ship placed by Enter.
void TstFormSea::battle()
{
    QTest::keyClick(FormSea, Qt::Key_F2);
    std::string lastMissing = kFleet;
    lastMissing[5 * 11 - 4] = '.'; // row 5, column 8
    QVERIFY(FormSea->Battle.SetBoard(Board::Player, lastMissing));
    QVERIFY(FormSea->Battle.SetBoard(Board::Computer, kFleet));
    FormSea->Battle.SetPlacement(10, {5, 8, 5, 8});
    key(QStringLiteral("\r"));
    QCOMPARE(FormSea->Battle.Phase(), gpBattle);
    QCOMPARE(FormSea->TimerBoard->text(), QStringLiteral("000"));
    QCOMPARE(status(), QStringLiteral("Ваш ход..."));
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

void TstFormSea::clicksMadeDuringCuesAreDropped()
{
    battle();
    m_opponent.targets = {{10, 10}};
    // A click the player makes while the computer's turn sounds waits in the
    // queue; it must not fire a shot of its own afterwards.
    TImage* other = FormSea->Images[10 * 8 + 8];
    m_opponent.whileChoosing = [other] {
        const QPoint at(5, 5);
        QCoreApplication::postEvent(other, new QMouseEvent(QEvent::MouseButtonPress, at, other->mapToGlobal(at),
                                                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(other, new QMouseEvent(QEvent::MouseButtonRelease, at, other->mapToGlobal(at),
                                                           Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    };
    fire(10, 1);
    m_opponent.whileChoosing = nullptr;
    QTest::qWait(50);
    QCOMPARE(FormSea->Battle.TurnCount(), 1);
    QCOMPARE(FormSea->Battle.ComputerAt(9, 9), csEmpty);
}

TIVORAMA_TEST_MAIN(TstFormSea)
#include "tst_formsea.moc"
