// The result dialogs, the table window and the end-of-game rule, on a
// stand-in game whose table and counter the test owns.
#include "datafiles.h"
#include "testmain.h"
#include "testutil.h"

#include "resultdialogs.h"
#include "tbitbtn.h"
#include "ttop.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <csignal>

#include <sys/resource.h>

namespace {

struct StandIn {
    Ttop top;
    QString counter = QStringLiteral("000");
};

StandIn* g_game = nullptr;

TGameScores standInScores(quint8 game)
{
    TGameScores s;
    s.game = game;
    s.caption = QStringLiteral("Сапер");
    s.tableCaption = QStringLiteral("Сапер - лучшие результаты");
    s.table = []() -> Ttop& { return g_game->top; };
    s.scoreText = [] { return g_game->counter; };
    return s;
}

} // namespace

class TstResultDialogs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void endOfGameRuleChoosesByTenthEntry_data();
    void endOfGameRuleChoosesByTenthEntry();
    void recordDialogEntersNameAndScore();
    void closingRecordDialogEntersNothing();
    void failedSaveEntersTheResultOnceOnRetry();
    void recordOfAnotherCopyStays();
    void nameFieldTakesTwentyStorableCharacters();
    void secondWinOffersFirstWinnersName();
    void tableWindowRereadsItsFileEachShowing();
    void failingCueStopsTheSequence();
    void counterTextMustBeANumber();

private:
    QTemporaryDir* m_dir = nullptr;
    StandIn m_game;
    TRecordDialog* m_over = nullptr;
    TNoRecordDialog* m_badover = nullptr;
    TRecordTable* m_table = nullptr;
};

void TstResultDialogs::init()
{
    m_dir = new QTemporaryDir;
    datafiles::setProgramPath(m_dir->filePath(QStringLiteral("tivorama")));
    m_game = StandIn{};
    g_game = &m_game;
    LoadTop(m_game.top, 2);
    m_over = new TRecordDialog(QStringLiteral("over"), standInScores(2));
    m_badover = new TNoRecordDialog(QStringLiteral("badover"), standInScores(2));
    m_table = new TRecordTable(QStringLiteral("table"), standInScores(2));
}

void TstResultDialogs::cleanup()
{
    delete m_over;
    delete m_badover;
    delete m_table;
    datafiles::setProgramPath(QString());
    delete m_dir;
}

void TstResultDialogs::endOfGameRuleChoosesByTenthEntry_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<bool>("record");
    // The default minesweeper table ends with 190.
    QTest::newRow("one below the tenth") << 189 << true;
    QTest::newRow("equal to the tenth") << 190 << false;
    QTest::newRow("worse") << 999 << false;
    QTest::newRow("best of all") << 1 << true;
}

void TstResultDialogs::endOfGameRuleChoosesByTenthEntry()
{
    QFETCH(int, score);
    QFETCH(bool, record);
    m_game.counter = QStringLiteral("%1").arg(score, 3, 10, QLatin1Char('0'));
    ScriptedRandom random({2});
    QStringList cues, windows;
    auto answer = [&](QWidget* w) {
        windows.append(w->objectName());
        QTest::keyClick(w, Qt::Key_Return); // OK
    };
    // Each modal window answers the next one in turn: first the dialog, then
    // the table window.
    whenModalShown([&](QWidget* w) {
        answer(w);
        whenModalShown(answer);
    });
    EndOfGameRule(standInScores(2), score, random, [&](const QString& cue) { cues.append(cue); }, m_over,
                  m_badover, m_table);
    QCOMPARE(random.reseeds, 1);
    QCOMPARE(cues, QStringList{record ? QStringLiteral("5.wav") : QStringLiteral("8.wav")});
    QCOMPARE(windows, (QStringList{record ? QStringLiteral("over") : QStringLiteral("badover"), QStringLiteral("table")}));
    QCOMPARE(m_game.top.NewScore, score);
    // OK in the record dialog entered the default name at its rank.
    if (record)
        QCOMPARE(m_game.top.Entries[score < 60 ? 0 : 9].Score, score);
}

void TstResultDialogs::recordDialogEntersNameAndScore()
{
    m_game.counter = QStringLiteral("125");
    whenModalShown([&](QWidget*) {
        QVERIFY(m_over->EditName->hasFocus());
        typeText(m_over->EditName, QStringLiteral("Иван"));
        QTest::keyClick(m_over, Qt::Key_Return);
    });
    m_over->ShowModal();
    QVERIFY(!m_over->isVisible());
    // 125 ties with nothing: after 120, before 130.
    QCOMPARE(m_game.top.Entries[3].Name, QStringLiteral("Иван"));
    QCOMPARE(m_game.top.Entries[3].Score, 125);
    QCOMPARE(m_game.top.Entries[9].Score, 180);
    Ttop fromFile;
    LoadTop(fromFile, 2);
    QCOMPARE(fromFile.Entries[3].Name, QStringLiteral("Иван"));

    // The table window shows the entry as rank, full stop and name.
    whenModalShown([&](QWidget*) { m_table->close(); });
    m_table->ShowModal();
    QCOMPARE(m_table->rankLabel(4)->text(), QStringLiteral("4.Иван"));
    QCOMPARE(m_table->scoreLabel(4)->text(), QStringLiteral("125"));
    QCOMPARE(m_table->rankLabel(1)->text(), QStringLiteral("1.Неизвестный"));
    QCOMPARE(m_table->rankLabel(10)->text(), QStringLiteral("10.Неизвестный"));
}

void TstResultDialogs::closingRecordDialogEntersNothing()
{
    m_game.counter = QStringLiteral("101");
    whenModalShown([&](QWidget*) {
        typeText(m_over->EditName, QStringLiteral("Пётр"));
        m_over->close(); // the title bar's close button
    });
    m_over->ShowModal();
    Ttop fromFile;
    LoadTop(fromFile, 2);
    for (const TTopEntry& e : fromFile.Entries)
        QCOMPARE(e.Name, QStringLiteral("Неизвестный"));
}

void TstResultDialogs::failedSaveEntersTheResultOnceOnRetry()
{
    ErrorCatcher catcher;
    m_game.counter = QStringLiteral("050");
    // A file size limit makes the save fail part-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit normal{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &normal), 0);
    rlimit tiny = normal;
    tiny.rlim_cur = 100;
    bool stayedOpen = false;
    whenModalShown([&](QWidget*) {
        typeText(m_over->EditName, QStringLiteral("Вера"));
        setrlimit(RLIMIT_FSIZE, &tiny);
        m_over->BitBtn1->click();
        setrlimit(RLIMIT_FSIZE, &normal);
        stayedOpen = m_over->isVisible();
        m_over->BitBtn1->click();
    });
    m_over->ShowModal();
    QVERIFY(stayedOpen);
    QCOMPARE(catcher.errors.size(), 1);
    QVERIFY2(catcher.errors[0].contains(QDir::toNativeSeparators(scorefiles::scoreFilePath(2))),
             qPrintable(catcher.errors[0]));
    Ttop fromFile;
    LoadTop(fromFile, 2);
    for (const Ttop* top : {&m_game.top, &fromFile}) {
        QCOMPARE(top->Entries[0].Name, QStringLiteral("Вера"));
        QCOMPARE(top->Entries[1].Name, QStringLiteral("Неизвестный"));
    }
}

// Another copy of the program enters a record after this one loaded the
// table: the record dialog's entry joins it rather than replacing the file,
// and the table window shows both.
void TstResultDialogs::recordOfAnotherCopyStays()
{
    Ttop other;
    LoadTop(other, 2);
    other.NewName = QStringLiteral("Другая копия");
    other.NewScore = 150;
    InsertTop(other, 2);

    m_game.counter = QStringLiteral("120");
    whenModalShown([&](QWidget*) {
        typeText(m_over->EditName, QStringLiteral("Эта копия"));
        QTest::keyClick(m_over, Qt::Key_Return);
    });
    m_over->ShowModal();
    whenModalShown([&](QWidget*) { m_table->close(); });
    m_table->ShowModal();
    // Each below the default entry of its score.
    QCOMPARE(m_table->rankLabel(4)->text(), QStringLiteral("4.Эта копия"));
    QCOMPARE(m_table->rankLabel(8)->text(), QStringLiteral("8.Другая копия"));
    QCOMPARE(m_table->scoreLabel(10)->text(), QStringLiteral("170"));
}

void TstResultDialogs::nameFieldTakesTwentyStorableCharacters()
{
    QLineEdit* edit = m_over->EditName;
    edit->clear();
    typeText(edit, QStringLiteral("Абвгдеёжзийклмнопрст")); // 20
    typeText(edit, QStringLiteral("у"));
    QCOMPARE(edit->text(), QStringLiteral("Абвгдеёжзийклмнопрст"));

    // Characters Windows-1251 cannot hold are dropped, typed or pasted.
    edit->clear();
    typeText(edit, QStringLiteral("Zoë"));
    QCOMPARE(edit->text(), QStringLiteral("Zo"));
    edit->clear();
    edit->insert(QStringLiteral("Li 李 Wei €"));
    QCOMPARE(edit->text(), QStringLiteral("Li  Wei €"));

    m_game.counter = QStringLiteral("007");
    edit->setText(QStringLiteral("Абвгдеёжзийклмнопрст"));
    m_over->BitBtn1Click();
    Ttop fromFile;
    LoadTop(fromFile, 2);
    QCOMPARE(fromFile.Entries[0].Name, QStringLiteral("Абвгдеёжзийклмнопрст"));
    QCOMPARE(fromFile.Entries[0].Score, 7);
}

void TstResultDialogs::secondWinOffersFirstWinnersName()
{
    m_game.counter = QStringLiteral("050");
    whenModalShown([&](QWidget*) {
        typeText(m_over->EditName, QStringLiteral("Оля"));
        m_over->BitBtn1->click();
    });
    m_over->ShowModal();
    QString offered, selected;
    whenModalShown([&](QWidget*) {
        offered = m_over->EditName->text();
        selected = m_over->EditName->selectedText();
        m_over->close();
    });
    m_over->ShowModal();
    QCOMPARE(offered, QStringLiteral("Оля"));
    QCOMPARE(selected, QStringLiteral("Оля"));
}

void TstResultDialogs::tableWindowRereadsItsFileEachShowing()
{
    whenModalShown([&](QWidget*) { m_table->close(); });
    m_table->ShowModal();
    QCOMPARE(m_table->scoreLabel(10)->text(), QStringLiteral("190"));

    // Another copy of the program writes the file meanwhile.
    Ttop changed = scorefiles::defaultTop(2);
    changed.Entries[9] = {QStringLiteral("Гость"), 500};
    changed.Entries[0] = {QStringLiteral("Чемпион"), 123456};
    SaveTop(changed, 2);
    whenModalShown([&](QWidget*) { m_table->close(); });
    m_table->ShowModal();
    QCOMPARE(m_table->rankLabel(10)->text(), QStringLiteral("10.Гость"));
    QCOMPARE(m_table->scoreLabel(1)->text(), QStringLiteral("12345"));
    // What the table window read is what the next game is judged against.
    QCOMPARE(m_game.top.Entries[9].Score, 500);
}

void TstResultDialogs::failingCueStopsTheSequence()
{
    ScriptedRandom random;
    bool dialogShown = false;
    whenModalShown([&](QWidget* w) {
        dialogShown = true;
        w->close();
    }, 300);
    QVERIFY_THROWS_EXCEPTION(EError, EndOfGameRule(standInScores(2), 10, random,
        [](const QString& cue) { throw EError(QStringLiteral("Couldn't open ") + cue); }, m_over, m_badover, m_table));
    QTest::qWait(400);
    QVERIFY(!dialogShown);
}

void TstResultDialogs::counterTextMustBeANumber()
{
    QCOMPARE(scoreValue(QStringLiteral("007")), 7);
    QCOMPARE(scoreValue(QStringLiteral("999")), 999);
    QVERIFY_THROWS_EXCEPTION(EError, scoreValue(QStringLiteral("0a1")));
    QVERIFY_THROWS_EXCEPTION(EError, scoreValue(QString()));
}

TIVORAMA_TEST_MAIN(TstResultDialogs)
#include "tst_resultdialogs.moc"
