// The fifteen puzzle's window, driven by real clicks and keys: deals, moves,
// the clock, the cue of every event, the end of a game through the dialogs
// into the score file, failing cues, and what closing and activation do to
// a game in progress.
#include "datafiles.h"
#include "recordingcues.h"
#include "testmain.h"
#include "testutil.h"

#include "look.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tformfifteen.h"
#include "tmemoform.h"
#include "tboard.h"
#include "tshadowlabel.h"

#include <QDir>
#include <QScreen>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

using Step = std::function<void()>;
Q_DECLARE_METATYPE(Step)

namespace {

// The deal a source that always draws 0 makes: the blank walks between
// positions 1 and 5 and stops on 5 after its 255th step.
const std::array<std::uint8_t, 16> kZeroDeal{12, 15, 14, 13, 16, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};

// Solved but for the last slide: tile 15 at 16, the blank at 15.
const std::array<std::uint8_t, 16> kOneToGo{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 15};

std::array<std::uint8_t, 16> board()
{
    std::array<std::uint8_t, 16> b{};
    for (int p = 1; p <= 16; ++p)
        b[p - 1] = std::uint8_t(FormFifteen->Board.TileAt(p));
    return b;
}

void clickTile(int position)
{
    QTest::mouseClick(FormFifteen->Tiles[position - 1], Qt::LeftButton);
}

void tick(int seconds)
{
    for (int i = 0; i < seconds; ++i)
        FormFifteen->Timer1Timer();
}

} // namespace

class TstFormFifteen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void newGameDealsAndRestartsTheClock();
    void theNewDealIsOnScreenWhileTheStartCueSounds();
    void onlyTilesNextToTheBlankSlide();
    void cueOfEachEvent_data();
    void cueOfEachEvent();
    void solvingWithAGoodTimeEntersTheTable();
    void solvingInTheTenthEntrysTimeIsNoRecord();
    void activationResetsOnlyWithoutAGame();
    void closingKeepsTheGameAndTheClockGoesOn();
    void missingStartCueStopsBeforeTheDeal();
    void missingMoveCueLeavesTheDealUnplayable();
    void missingMoveCueStillSlidesAndJudges();
    void rulesItemOpensTheViewerOnItsFile();

private:
    void newGame();
    void solveWithOneSlide(int seconds);

    QTemporaryDir* m_dir = nullptr;
    QString m_oldCurrent;
    ScriptedRandom m_random;
    RecordingCuePlayer m_cues;
};

void TstFormFifteen::initTestCase()
{
    CreateForm(FormFifteen);
    FormFifteen->makeDialog(TGameDialog::NoRecord, QStringLiteral("Form15badover"));
    FormFifteen->makeDialog(TGameDialog::Record, QStringLiteral("Form15Over"));
    FormFifteen->makeDialog(TGameDialog::Table, QStringLiteral("Form15table"));
    CreateForm(MemoForm);
    // The tests advance the clock themselves.
    FormFifteen->Timer1->stop();
    FormFifteen->setCuePlayer(&m_cues);
}

void TstFormFifteen::init()
{
    m_dir = new QTemporaryDir;
    m_oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    datafiles::setProgramPath(m_dir->filePath(QStringLiteral("tivorama")));
    for (int n = 1; n <= 9; ++n)
        QVERIFY(writeTestWav(QStringLiteral("%1.wav").arg(n), n == 2 ? 30 : 60));
    m_random = ScriptedRandom();
    FormFifteen->setRandom(&m_random);
    FormFifteen->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
}

void TstFormFifteen::cleanup()
{
    FormFifteen->setRandom(nullptr);
    m_cues.follow(nullptr);
    m_cues.whilePlaying = nullptr;
    FormFifteen->close();
    m_cues.take();
    MemoForm->close();
    QDir::setCurrent(m_oldCurrent);
    datafiles::setProgramPath(QString());
    delete m_dir;
}

void TstFormFifteen::newGame()
{
    QTest::keyClick(FormFifteen, Qt::Key_F2);
    QCOMPARE(board(), kZeroDeal);
    QVERIFY(FormFifteen->Board.InProgress());
}

void TstFormFifteen::solveWithOneSlide(int seconds)
{
    newGame();
    FormFifteen->Board.SetTiles(kOneToGo);
    FormFifteen->Redraw(false);
    tick(seconds);
    clickTile(16);
}

void TstFormFifteen::newGameDealsAndRestartsTheClock()
{
    newGame();
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("000"));
    QVERIFY(FormFifteen->Tiles[0]->isVisible());
    QVERIFY(!FormFifteen->Tiles[4]->isVisible()); // the blank
    QCOMPARE(FormFifteen->Labels[0]->caption(), QStringLiteral("12"));
    tick(2);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("002"));
    // F2 in the middle of a game deals again and counts from the start.
    QTest::mouseClick(FormFifteen->SpeedButton1, Qt::LeftButton); // only makes the flat button hot
    QTest::mouseMove(FormFifteen->SpeedButton1);
    QTest::mouseClick(FormFifteen->SpeedButton1, Qt::LeftButton);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("000"));
    QCOMPARE(m_random.reseeds, 2);
    tick(1);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("001"));
}

void TstFormFifteen::theNewDealIsOnScreenWhileTheStartCueSounds()
{
    // A board whose last square is empty; the deal puts tile 1 there. What
    // the window shows is checked straight after F2, before the event loop
    // has had a chance to paint anything.
    const QRect tile16 = FormFifteen->Tiles[15]->geometry();
    const QPoint corner = FormFifteen->Panel->mapTo(FormFifteen, tile16.topLeft());
    auto shown = [&] { return FormFifteen->screen()->grabWindow(FormFifteen->winId()).toImage().pixelColor(corner); };
    FormFifteen->Board.SetTiles({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 16});
    FormFifteen->Redraw(false);
    QTRY_COMPARE(shown(), look::btnFace());
    QColor whileSounding;
    m_cues.whilePlaying = [&] { whileSounding = shown(); };
    newGame();
    QCOMPARE(whileSounding, look::btnHighlight()); // the raised bevel of tile 1
}

void TstFormFifteen::onlyTilesNextToTheBlankSlide()
{
    newGame();
    tick(3);
    // Not next to the blank (at 5): nothing at all happens, not even a sound.
    clickTile(2);
    clickTile(10);
    QCOMPARE(board(), kZeroDeal);
    // Next to it: the tile slides, on the label as well as on the panel's edge.
    clickTile(6);
    QCOMPARE(FormFifteen->Board.TileAt(5), 11);
    QCOMPARE(FormFifteen->Board.TileAt(6), 16);
    QVERIFY(FormFifteen->Tiles[4]->isVisible());
    QVERIFY(!FormFifteen->Tiles[5]->isVisible());
    QCOMPARE(FormFifteen->Labels[4]->caption(), QStringLiteral("11"));
    QTest::mouseClick(FormFifteen->Tiles[1], Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(FormFifteen->Board.TileAt(6), 15);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("003"));
}

void TstFormFifteen::cueOfEachEvent_data()
{
    QTest::addColumn<Step>("setUp");
    QTest::addColumn<Step>("event");
    QTest::addColumn<QList<int>>("draws"); // what the event's random draws give, in order
    QTest::addColumn<QString>("cues");     // what the recording player wrote down

    auto dealt = Step([] { QTest::keyClick(FormFifteen, Qt::Key_F2); });
    auto slideAt = [](int position) { return Step([position] { clickTile(position); }); };
    auto oneToGo = [](int seconds) {
        return Step([seconds] {
            QTest::keyClick(FormFifteen, Qt::Key_F2);
            FormFifteen->Board.SetTiles(kOneToGo);
            FormFifteen->Redraw(false);
            tick(seconds);
            closeModals(2);
        });
    };

    // A source that draws 0 walks the blank in 255 steps, as the deal does.
    QTest::newRow("new deal") << Step([] {}) << dealt << QList<int>{}
                              << "1.wav started, reseed, 255 draws, 1.wav finished, 2.wav held";
    QTest::newRow("a tile slides") << dealt << slideAt(6) << QList<int>{} << "2.wav played";
    QTest::newRow("a tile that cannot slide: no cue") << dealt << slideAt(2) << QList<int>{} << "";
    // The default table's tenth entry is 150.
    QTest::newRow("solved, a record") << oneToGo(42) << slideAt(16) << QList<int>{0}
                                      << "2.wav played, closed, reseed, Random(3), 3.wav";
    QTest::newRow("solved, no record") << oneToGo(150) << slideAt(16) << QList<int>{0}
                                       << "2.wav played, closed, reseed, Random(4), 6.wav";
    QTest::newRow("window closed") << dealt << Step([] { FormFifteen->close(); }) << QList<int>{} << "closed";
}

void TstFormFifteen::cueOfEachEvent()
{
    QFETCH(Step, setUp);
    QFETCH(Step, event);
    QFETCH(QList<int>, draws);
    QFETCH(QString, cues);
    setUp();
    QCOMPARE(m_cues.recordEvent(*FormFifteen, draws, event), cues);
}

void TstFormFifteen::solvingWithAGoodTimeEntersTheTable()
{
    QStringList windows;
    whenModalShown([&](QWidget* w) {
        windows.append(w->objectName());
        typeText(FormFifteen->Over->EditName, QStringLiteral("Маша"));
        QTest::keyClick(w, Qt::Key_Return);
        whenModalShown([&](QWidget* table) {
            windows.append(table->objectName());
            QTest::keyClick(table, Qt::Key_Return);
        });
    });
    solveWithOneSlide(42);
    QCOMPARE(windows, (QStringList{QStringLiteral("Form15Over"), QStringLiteral("Form15table")}));
    // The keys work again at once: the game window has the focus back.
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("042"));
    QVERIFY(!FormFifteen->Board.InProgress());
    Ttop fromFile;
    LoadTop(fromFile, 1);
    QCOMPARE(fromFile.Entries[0].Name, QStringLiteral("Маша"));
    QCOMPARE(fromFile.Entries[0].Score, 42);
    QCOMPARE(fromFile.Entries[9].Score, 140);
    QCOMPARE(FormFifteen->Table->rankLabel(1)->text(), QStringLiteral("1.Маша"));

    // The solved board stays on screen, frozen, and the clock stands still.
    QVERIFY(!FormFifteen->Tiles[15]->isVisible());
    QCOMPARE(FormFifteen->Labels[14]->caption(), QStringLiteral("15"));
    clickTile(12);
    tick(5);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("042"));
    QCOMPARE(FormFifteen->Labels[11]->caption(), QStringLiteral("12"));
}

void TstFormFifteen::solvingInTheTenthEntrysTimeIsNoRecord()
{
    QStringList windows;
    auto answer = [&](QWidget* w) {
        windows.append(w->objectName());
        static_cast<TForm*>(w)->setModalResult(mrOk);
    };
    whenModalShown([&](QWidget* w) {
        answer(w);
        whenModalShown(answer);
    });
    solveWithOneSlide(150); // the default table's tenth entry
    QCOMPARE(windows, (QStringList{QStringLiteral("Form15badover"), QStringLiteral("Form15table")}));
    Ttop fromFile;
    LoadTop(fromFile, 1);
    QCOMPARE(fromFile.Entries[9].Score, 150);
    QCOMPARE(fromFile.Entries[9].Name, QStringLiteral("Неизвестный"));
}

void TstFormFifteen::activationResetsOnlyWithoutAGame()
{
    TForm other(QStringLiteral("other"));
    other.setClientSize(50, 50);
    newGame();
    tick(4);
    other.Show();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    FormFifteen->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("004"));

    // After a solved game the next activation clears the display but leaves
    // the solved board.
    whenModalShown([&](QWidget* w) {
        static_cast<TForm*>(w)->setModalResult(mrOk);
        whenModalShown([](QWidget* t) { static_cast<TForm*>(t)->setModalResult(mrOk); });
    });
    FormFifteen->Board.SetTiles(kOneToGo);
    FormFifteen->Redraw(false);
    clickTile(16);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("004"));
    other.Show();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    FormFifteen->Show();
    QTRY_COMPARE(FormFifteen->Label1->text(), QStringLiteral("000"));
    QCOMPARE(FormFifteen->Labels[14]->caption(), QStringLiteral("15"));
    QVERIFY(!FormFifteen->Tiles[15]->isVisible());
}

void TstFormFifteen::closingKeepsTheGameAndTheClockGoesOn()
{
    newGame();
    tick(1);
    clickTile(1);
    const auto before = board();
    m_cues.take();
    QTest::keyClick(FormFifteen, Qt::Key_F10, Qt::ControlModifier);
    QVERIFY(!FormFifteen->isVisible());
    tick(7);
    FormFifteen->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    QCOMPARE(board(), before);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("008"));
    // Minimised and restored, the stone still reaches the bottom edge.
    FormFifteen->showMinimized();
    FormFifteen->Show();
    QTRY_VERIFY(!FormFifteen->isMinimized());
    QCOMPARE(FormFifteen->Wallpaper1->geometry(), QRect(0, 0, 245, 305));
    // A move after showing the window again still slides, with its sound.
    clickTile(5);
    QCOMPARE(FormFifteen->Board.TileAt(5), 16);
    QCOMPARE(m_cues.take(), QStringLiteral("closed, 2.wav held, 2.wav played"));
}

void TstFormFifteen::missingStartCueStopsBeforeTheDeal()
{
    ErrorCatcher catcher;
    newGame();
    clickTile(1);
    const auto before = board();
    tick(3);
    QFile::remove(QStringLiteral("1.wav"));
    QTest::keyClick(FormFifteen, Qt::Key_F2);
    QCOMPARE(catcher.errors.size(), 1);
    QCOMPARE(board(), before);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("000"));
}

void TstFormFifteen::missingMoveCueLeavesTheDealUnplayable()
{
    ErrorCatcher catcher;
    newGame();
    QFile::remove(QStringLiteral("2.wav"));
    QTest::keyClick(FormFifteen, Qt::Key_F2);
    QCOMPARE(catcher.errors.size(), 1);
    QCOMPARE(board(), kZeroDeal);
    // The game before ended with its board; the new deal never started.
    QVERIFY(!FormFifteen->Board.InProgress());
    // Without its clock the deal cannot be played for a score.
    clickTile(1);
    QCOMPARE(board(), kZeroDeal);
    tick(2);
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("000"));
}

void TstFormFifteen::missingMoveCueStillSlidesAndJudges()
{
    // Closing the window released the move cue; with its file gone the
    // solving slide reports the cue, and is still shown and judged.
    ErrorCatcher catcher;
    newGame();
    FormFifteen->Board.SetTiles(kOneToGo);
    FormFifteen->Redraw(false);
    FormFifteen->close();
    QFile::remove(QStringLiteral("2.wav"));
    FormFifteen->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    QStringList windows;
    whenModalShown([&](QWidget* w) {
        windows << w->objectName();
        w->close();
        whenModalShown([&](QWidget* t) {
            windows << t->objectName();
            t->close();
        });
    });
    clickTile(16);
    QTRY_COMPARE(catcher.errors.size(), 1);
    QVERIFY(!FormFifteen->Tiles[15]->isVisible());
    QCOMPARE(windows, (QStringList{QStringLiteral("Form15Over"), QStringLiteral("Form15table")}));
}

void TstFormFifteen::rulesItemOpensTheViewerOnItsFile()
{
    QTest::keyClick(FormFifteen, Qt::Key_F1);
    QTRY_COMPARE(QApplication::activeWindow(), MemoForm);
    QCOMPARE(RulesFileName, QStringLiteral("1.doc"));
    QCOMPARE(MemoForm->windowTitle(), QStringLiteral("Пятнашки - правила игры"));
    QCOMPARE(MemoForm->ListBox1->item(0)->text(), QStringLiteral("Файл 1.doc не найден"));
}

TIVORAMA_TEST_MAIN(TstFormFifteen)
#include "tst_formfifteen.moc"
