// The minesweeper's window driven by real clicks and keys: new games, the
// clock, pause, the cue of every event, a lost and a won field through the
// dialogs into the score file, failing cues, the options dialog, and what
// activation and closing do to a game.
#include "datafiles.h"
#include "minefieldlayout.h"
#include "recordingcues.h"
#include "testmain.h"
#include "testutil.h"

#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tformsaper.h"
#include "tmemoform.h"
#include "tshadowlabel.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

using Step = std::function<void()>;
Q_DECLARE_METATYPE(Step)

namespace {

TMineCell* cell(int row, int column)
{
    return FormSaper->Cells[10 * (row - 1) + column - 1];
}

void click(int row, int column)
{
    QTest::mouseClick(cell(row, column), Qt::LeftButton);
}

void tick(int seconds)
{
    for (int i = 0; i < seconds; ++i)
        FormSaper->Timer1Timer();
}

int minesLaid()
{
    int n = 0;
    for (int k = 0; k < 100; ++k)
        n += FormSaper->Field.ValueAt(k / 10 + 1, k % 10 + 1) == Minefield::MineValue;
    return n;
}

// Every cell a mine but the first `safe` ones in reading order.
std::vector<std::pair<int, int>> minesAllBut(int safe)
{
    std::vector<std::pair<int, int>> mines;
    for (int k = safe; k < 100; ++k)
        mines.push_back({k / 10 + 1, k % 10 + 1});
    return mines;
}

void answerDialogs(QStringList& shown, const QString& name = {})
{
    whenModalShown([&shown, name](QWidget* w) {
        shown << w->objectName();
        if (!name.isEmpty() && w == FormSaper->Over)
            typeText(FormSaper->Over->EditName, name);
        QTest::keyClick(w, Qt::Key_Return);
        whenModalShown([&shown](QWidget* t) {
            shown << t->objectName();
            QTest::keyClick(t, Qt::Key_Return);
        });
    });
}

} // namespace

class TstFormSaper : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void newGameLaysTheMinesAndTheClockCounts();
    void clicksOutsideAGameDoNothing();
    void cueOfEachEvent_data();
    void cueOfEachEvent();
    void lossEndsLostWhicheverCueFails_data();
    void lossEndsLostWhicheverCueFails();
    void clearedFieldGoesThroughTheDialogs_data();
    void clearedFieldGoesThroughTheDialogs();
    void missingCellCueStillShowsAndJudges();
    void optionsTakeOnlyFiveToFifty();
    void pausedGameIsGoneAfterTheRulesViewer();
    void cellClicksAfterShowingTheWindowAgain();

private:
    QTemporaryDir* m_dir = nullptr;
    QString m_oldCurrent;
    RecordingCuePlayer m_cues;
};

void TstFormSaper::initTestCase()
{
    CreateForm(FormSaper);
    CreateForm(FormSaperOptions);
    FormSaper->makeDialog(TGameDialog::Table, QStringLiteral("FormSaperTable"));
    FormSaper->makeDialog(TGameDialog::Record, QStringLiteral("FormSaperOver"));
    FormSaper->makeDialog(TGameDialog::NoRecord, QStringLiteral("FormSaperBadOver"));
    CreateForm(MemoForm);
    // The tests advance the clock themselves.
    FormSaper->Timer1->stop();
    FormSaper->setCuePlayer(&m_cues);
}

void TstFormSaper::init()
{
    m_dir = new QTemporaryDir;
    m_oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    datafiles::setProgramPath(m_dir->filePath(QStringLiteral("tivorama")));
    for (int n = 1; n <= 15; ++n)
        QVERIFY(writeTestWav(QStringLiteral("%1.wav").arg(n), 30));
    FormSaper->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormSaper);
}

void TstFormSaper::cleanup()
{
    // Showing the window again in the next test lays a fresh field.
    FormSaper->Field.Stop();
    FormSaper->setRandom(nullptr);
    m_cues.follow(nullptr);
    FormSaper->close();
    m_cues.take();
    MemoForm->close();
    QDir::setCurrent(m_oldCurrent);
    datafiles::setProgramPath(QString());
    delete m_dir;
}

void TstFormSaper::newGameLaysTheMinesAndTheClockCounts()
{
    tick(3);
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("000"));
    QVERIFY(!FormSaper->FlatSpeedButton1->isEnabled());
    QCOMPARE(FormSaper->FlatSpeedButton1->toolTip(), QStringLiteral("Пауза..."));
    QTest::keyClick(FormSaper, Qt::Key_F2);
    QCOMPARE(minesLaid(), 20);
    QVERIFY(FormSaper->FlatSpeedButton1->isEnabled() && FormSaper->PauseItem->isEnabled());
    QCOMPARE(FormSaper->FlatSpeedButton1->toolTip(), QStringLiteral("Пауза"));
    tick(2);
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("002"));
    // A new game does not rewrite the display; the next tick shows "001".
    QTest::keyClick(FormSaper, Qt::Key_F2);
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("002"));
    tick(1);
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("001"));
}

void TstFormSaper::clicksOutsideAGameDoNothing()
{
    layMines(FormSaper->Field, {{1, 2}});
    click(1, 1);
    QCOMPARE(cell(1, 1)->text(), QString());
    QTest::keyClick(FormSaper, Qt::Key_F2);
    layMines(FormSaper->Field, {{1, 2}});
    QTest::keyClick(FormSaper, Qt::Key_F6);
    QCOMPARE(FormSaper->FlatSpeedButton1->toolTip(), QStringLiteral("Снять паузу"));
    QCOMPARE(FormSaper->PauseItem->text(), QStringLiteral("Пауза "));
    click(1, 1);
    tick(2);
    QCOMPARE(cell(1, 1)->text(), QString());
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("000"));
    // Resumed, the click opens the cell in its number's colour.
    QTest::keyClick(FormSaper, Qt::Key_F6);
    QCOMPARE(FormSaper->FlatSpeedButton1->toolTip(), QStringLiteral("Пауза"));
    click(1, 1);
    QCOMPARE(cell(1, 1)->text(), QStringLiteral("1"));
    QCOMPARE(cell(1, 1)->textColor(), QColor(0, 0, 255));
    QCOMPARE(cell(1, 1)->bevelInner(), bvLowered);
}

void TstFormSaper::cueOfEachEvent_data()
{
    QTest::addColumn<Step>("setUp");
    QTest::addColumn<Step>("event");
    QTest::addColumn<QList<int>>("draws"); // what the event's random draws give, in order
    QTest::addColumn<QString>("cues");     // what the recording player wrote down

    auto newGameWithMines = [](std::vector<std::pair<int, int>> mines, int seconds = 0) {
        return Step([mines, seconds] {
            QTest::keyClick(FormSaper, Qt::Key_F2);
            layMines(FormSaper->Field, mines);
            tick(seconds);
        });
    };
    auto clickAt = [](int row, int column) { return Step([row, column] { click(row, column); }); };
    // Twenty mines in columns 1 and 2, a pair of draws each.
    QList<int> field;
    for (int i = 0; i < 20; ++i)
        field << 1 + i / 2 << 1 + i % 2;
    auto clearedIn = [newGameWithMines](int seconds) {
        return Step([newGameWithMines, seconds] {
            newGameWithMines(minesAllBut(2), seconds)();
            click(1, 1);
            closeModals(2);
        });
    };

    QTest::newRow("new game") << Step([] {}) << Step([] { QTest::keyClick(FormSaper, Qt::Key_F2); }) << field
                              << "1.wav started, reseed, 40 draws, 1.wav finished, 15.wav held";
    QTest::newRow("a number opened") << newGameWithMines({{1, 2}}) << clickAt(1, 1) << QList<int>{} << "15.wav played";
    QTest::newRow("a click while paused: no cue")
        << Step([newGameWithMines] {
               newGameWithMines({{1, 2}})();
               QTest::keyClick(FormSaper, Qt::Key_F6);
           })
        << clickAt(1, 1) << QList<int>{} << "";
    QTest::newRow("a mine opened") << newGameWithMines({{1, 1}}) << clickAt(1, 1) << QList<int>{1}
                                   << "reseed, Random(3), 12.wav, 10.wav, 14.wav";
    // The default table's tenth entry is 190.
    QTest::newRow("field cleared, a record") << clearedIn(189) << clickAt(1, 2) << QList<int>{2}
                                             << "15.wav played, reseed, Random(3), 5.wav";
    QTest::newRow("field cleared, no record") << clearedIn(190) << clickAt(1, 2) << QList<int>{3}
                                              << "15.wav played, reseed, Random(4), 9.wav";
    QTest::newRow("window closed") << newGameWithMines({}) << Step([] { FormSaper->close(); }) << QList<int>{}
                                   << "closed";
}

void TstFormSaper::cueOfEachEvent()
{
    QFETCH(Step, setUp);
    QFETCH(Step, event);
    QFETCH(QList<int>, draws);
    QFETCH(QString, cues);
    setUp();
    QCOMPARE(m_cues.recordEvent(*FormSaper, draws, event), cues);
}

void TstFormSaper::lossEndsLostWhicheverCueFails_data()
{
    QTest::addColumn<QStringList>("missing");
    QTest::newRow("all cues there") << QStringList{};
    QTest::newRow("no 11.wav to 13.wav") << QStringList{"11.wav", "12.wav", "13.wav"};
    QTest::newRow("no 10.wav") << QStringList{"10.wav"};
    QTest::newRow("no 14.wav") << QStringList{"14.wav"};
}

void TstFormSaper::lossEndsLostWhicheverCueFails()
{
    QFETCH(QStringList, missing);
    ErrorCatcher catcher;
    // The report comes once the loss has been shown to its end: its message
    // box must not run an event loop in the middle of it.
    int reports = 0;
    bool shownWhenReported = true;
    errorreport::setHandler([&](const QString&) {
        ++reports;
        shownWhenReported = shownWhenReported && !cell(5, 5)->isEnabled();
    });
    QStringList dialogs;
    whenModalShown([&](QWidget* w) { dialogs << w->objectName(); w->close(); }, 200);
    QTest::keyClick(FormSaper, Qt::Key_F2);
    layMines(FormSaper->Field, {{1, 1}, {10, 10}});
    tick(4);
    for (const QString& name : missing)
        QFile::remove(name);
    click(1, 1);
    QTRY_COMPARE(reports, missing.isEmpty() ? 0 : 1);
    QVERIFY(shownWhenReported);
    // The lost field: the hit cell red, every mine shown, every cell and the
    // pause dead, the clock stopped, no dialog.
    QCOMPARE(cell(1, 1)->color(), QColor(255, 0, 0));
    QCOMPARE(cell(10, 10)->image(), QImage(QStringLiteral(":/images/bomb.png")));
    QVERIFY(!cell(5, 5)->isEnabled());
    QVERIFY(!FormSaper->FlatSpeedButton1->isEnabled() && !FormSaper->PauseItem->isEnabled());
    click(5, 5);
    tick(2);
    QCOMPARE(cell(5, 5)->text(), QString());
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("004"));
    QTest::qWait(300);
    QVERIFY(dialogs.isEmpty());
}

void TstFormSaper::clearedFieldGoesThroughTheDialogs_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("dialog");
    // The default table's tenth entry is 190.
    QTest::newRow("record") << 189 << QStringLiteral("FormSaperOver");
    QTest::newRow("no record") << 190 << QStringLiteral("FormSaperBadOver");
}

void TstFormSaper::clearedFieldGoesThroughTheDialogs()
{
    QFETCH(int, seconds);
    QFETCH(QString, dialog);
    QTest::keyClick(FormSaper, Qt::Key_F2);
    layMines(FormSaper->Field, minesAllBut(2));
    tick(seconds);
    click(1, 1);
    QStringList shown;
    answerDialogs(shown, QStringLiteral("Сапёр"));
    click(1, 2);
    QCOMPARE(shown, (QStringList{dialog, QStringLiteral("FormSaperTable")}));
    QCOMPARE(cell(10, 10)->image(), QImage(QStringLiteral(":/images/skull.png")));
    QCOMPARE(cell(10, 10)->bevelInner(), bvRaised);
    QVERIFY(!cell(1, 1)->isEnabled() && !FormSaper->FlatSpeedButton1->isEnabled());
    tick(3);
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("%1").arg(seconds, 3, 10, QLatin1Char('0')));
    Ttop fromFile;
    LoadTop(fromFile, 2);
    const bool record = dialog == QLatin1String("FormSaperOver");
    QCOMPARE(fromFile.Entries[9].Name, record ? QStringLiteral("Сапёр") : QStringLiteral("Неизвестный"));
    QCOMPARE(fromFile.Entries[9].Score, record ? 189 : 190);
}

void TstFormSaper::missingCellCueStillShowsAndJudges()
{
    // Without "15.wav" the game still runs; each opening reports the cue and
    // still shows its cell and makes the win test.
    ErrorCatcher catcher;
    QFile::remove(QStringLiteral("15.wav"));
    QTest::keyClick(FormSaper, Qt::Key_F2);
    QVERIFY(FormSaper->Field.InProgress());
    layMines(FormSaper->Field, minesAllBut(2));
    click(1, 1);
    QCOMPARE(cell(1, 1)->text(), QStringLiteral("2"));
    QStringList shown;
    answerDialogs(shown);
    click(1, 2);
    QCOMPARE(shown, (QStringList{QStringLiteral("FormSaperOver"), QStringLiteral("FormSaperTable")}));
    QTRY_COMPARE(catcher.errors.size(), 3);
}

void TstFormSaper::optionsTakeOnlyFiveToFifty()
{
    QTest::keyClick(FormSaper, Qt::Key_F2);
    tick(5);
    bool stayedOpen = true;
    whenModalShown([&](QWidget*) {
        for (const char* bad : {"4", "51", "abc", ""}) {
            FormSaperOptions->Edit1->setText(QString::fromUtf8(bad));
            QTest::keyClick(FormSaperOptions, Qt::Key_Return);
            stayedOpen = stayedOpen && FormSaperOptions->isVisible();
        }
        FormSaperOptions->Edit1->setText(QStringLiteral("5"));
        QTest::keyClick(FormSaperOptions, Qt::Key_Return);
        if (FormSaperOptions->isVisible()) // refused after all: leave, so the checks below can tell
            QTest::keyClick(FormSaperOptions, Qt::Key_Escape);
    });
    FormSaper->OptionsClick();
    QVERIFY(stayedOpen);
    QCOMPARE(FormSaper->ShadowLabel1->caption(), QStringLiteral("5 мин"));
    whenModalShown([](QWidget*) {
        FormSaperOptions->Edit1->setText(QStringLiteral("50"));
        QTest::keyClick(FormSaperOptions, Qt::Key_Return);
    });
    FormSaper->OptionsClick();
    QCOMPARE(FormSaper->ShadowLabel1->caption(), QStringLiteral("50 мин"));
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("000"));
    QVERIFY(!FormSaper->Field.InProgress() && !FormSaper->PauseItem->isEnabled());
    // Esc leaves everything as it is, the text included.
    whenModalShown([](QWidget*) {
        FormSaperOptions->Edit1->setText(QStringLiteral("7"));
        QTest::keyClick(FormSaperOptions, Qt::Key_Escape);
    });
    FormSaper->OptionsClick();
    QCOMPARE(FormSaperOptions->Edit1->text(), QStringLiteral("7"));
    QTest::keyClick(FormSaper, Qt::Key_F2);
    QCOMPARE(minesLaid(), 50);
    FormSaper->Field.SetMineCount(20);
    FormSaper->ShadowLabel1->setCaption(QStringLiteral("20 мин"));
}

void TstFormSaper::pausedGameIsGoneAfterTheRulesViewer()
{
    QTest::keyClick(FormSaper, Qt::Key_F2);
    layMines(FormSaper->Field, {{2, 2}});
    click(1, 1);
    tick(6);
    QTest::keyClick(FormSaper, Qt::Key_F6);
    QTest::keyClick(FormSaper, Qt::Key_F1);
    QTRY_COMPARE(QApplication::activeWindow(), MemoForm);
    QCOMPARE(MemoForm->windowTitle(), QStringLiteral("Сапер - правила игры"));
    FormSaper->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormSaper);
    QCOMPARE(cell(1, 1)->text(), QString());
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("000"));
    QVERIFY(!FormSaper->FlatSpeedButton1->isEnabled());
    QCOMPARE(FormSaper->Field.state(), Minefield::State::Ready);
}

void TstFormSaper::cellClicksAfterShowingTheWindowAgain()
{
    QTest::keyClick(FormSaper, Qt::Key_F2);
    layMines(FormSaper->Field, {{2, 2}});
    m_cues.take();
    QTest::keyClick(FormSaper, Qt::Key_F10, Qt::ControlModifier);
    tick(3);
    FormSaper->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormSaper);
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("003"));
    click(1, 1);
    QCOMPARE(cell(1, 1)->text(), QStringLiteral("1"));
    // Closing released the cell cue; the first opening after takes it again.
    QCOMPARE(m_cues.take(), QStringLiteral("closed, 15.wav held, 15.wav played"));
}

TIVORAMA_TEST_MAIN(TstFormSaper)
#include "tst_formsaper.moc"
