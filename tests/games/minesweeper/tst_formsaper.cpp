// The minesweeper's window driven by real clicks and keys: new games, the
// clock, pause, a lost and a won field through the dialogs into the score
// file, the options dialog, and what activation and closing do to a game.
#include "datafiles.h"
#include "testmain.h"
#include "testutil.h"

#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tformsaper.h"
#include "tmediaplayer.h"
#include "tmemoform.h"
#include "tshadowlabel.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

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
    void lossSequenceStopsAtAMissingCue_data();
    void lossSequenceStopsAtAMissingCue();
    void clearedFieldGoesThroughTheDialogs_data();
    void clearedFieldGoesThroughTheDialogs();
    void optionsTakeOnlyFiveToFifty();
    void pausedGameIsGoneAfterTheRulesViewer();
    void cellClicksAfterShowingTheWindowAgain();

private:
    QTemporaryDir* m_dir = nullptr;
    QString m_oldCurrent;
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
    FormSaper->close();
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
    FormSaper->Field.SetMines({{1, 2}});
    click(1, 1);
    QCOMPARE(cell(1, 1)->text(), QString());
    QTest::keyClick(FormSaper, Qt::Key_F2);
    FormSaper->Field.SetMines({{1, 2}});
    QTest::keyClick(FormSaper, Qt::Key_F6);
    QCOMPARE(FormSaper->FlatSpeedButton1->toolTip(), QStringLiteral("Снять паузу"));
    QCOMPARE(FormSaper->PauseItem->text(), QStringLiteral("Пауза "));
    click(1, 1);
    tick(2);
    QCOMPARE(cell(1, 1)->text(), QString());
    QCOMPARE(FormSaper->MediaPlayer1->Position(), 0);
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("000"));
    // Resumed, the click opens the cell in its number's colour, with a sound.
    QTest::keyClick(FormSaper, Qt::Key_F6);
    QCOMPARE(FormSaper->FlatSpeedButton1->toolTip(), QStringLiteral("Пауза"));
    click(1, 1);
    QCOMPARE(cell(1, 1)->text(), QStringLiteral("1"));
    QCOMPARE(cell(1, 1)->textColor(), QColor(0, 0, 255));
    QCOMPARE(cell(1, 1)->bevelInner(), bvLowered);
    QTRY_VERIFY(FormSaper->MediaPlayer1->Position() > 0);
}

void TstFormSaper::lossSequenceStopsAtAMissingCue_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<bool>("minesShown");
    QTest::addColumn<bool>("cellsDisabled");
    QTest::newRow("all cues present") << QString() << true << true;
    // The mines appear only after the second cue, the cells go dead before the third.
    QTest::newRow("no 10.wav") << QStringLiteral("10.wav") << false << false;
    QTest::newRow("no 14.wav") << QStringLiteral("14.wav") << true << true;
}

void TstFormSaper::lossSequenceStopsAtAMissingCue()
{
    QFETCH(QString, missing);
    QFETCH(bool, minesShown);
    QFETCH(bool, cellsDisabled);
    ErrorCatcher catcher;
    QStringList dialogs;
    whenModalShown([&](QWidget* w) { dialogs << w->objectName(); w->close(); }, 200);
    QTest::keyClick(FormSaper, Qt::Key_F2);
    FormSaper->Field.SetMines({{1, 1}, {10, 10}});
    tick(4);
    if (!missing.isEmpty())
        QFile::remove(missing);
    click(1, 1);
    QCOMPARE(catcher.errors.size(), missing.isEmpty() ? 0 : 1);
    QCOMPARE(cell(1, 1)->color(), QColor(255, 0, 0));
    QCOMPARE(!cell(10, 10)->image().isNull(), minesShown);
    QCOMPARE(!cell(5, 5)->isEnabled(), cellsDisabled);
    // The game is over whatever sounded: no cell opens, the clock stands.
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
    FormSaper->Field.SetMines(minesAllBut(2));
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
        FormSaperOptions->Edit1->setText(QStringLiteral("50"));
        QTest::keyClick(FormSaperOptions, Qt::Key_Return);
    });
    FormSaper->OptionsClick();
    QVERIFY(stayedOpen);
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
    FormSaper->Field.SetMines({{2, 2}});
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
    FormSaper->Field.SetMines({{2, 2}});
    QTest::keyClick(FormSaper, Qt::Key_F10, Qt::ControlModifier);
    QVERIFY(!FormSaper->MediaPlayer1->isOpen());
    tick(3);
    FormSaper->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormSaper);
    QCOMPARE(FormSaper->TimerBoard->text(), QStringLiteral("003"));
    click(1, 1);
    QCOMPARE(cell(1, 1)->text(), QStringLiteral("1"));
    QTRY_VERIFY(FormSaper->MediaPlayer1->Position() > 0);
}

TIVORAMA_TEST_MAIN(TstFormSaper)
#include "tst_formsaper.moc"
