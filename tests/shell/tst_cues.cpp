// The cue sequences on SDL's real-time dummy driver: blocking cues that last
// their file's length and take no events, the early-started start cue, the one
// repaint part-way through, the held cue taken again once released,
// zero-length cues and the random choice.
#include "testmain.h"
#include "testutil.h"

#include "cues.h"
#include "tmediaplayer.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

// `frames` frames of a quiet square wave, mono 16-bit at 22050 Hz.
void writeWav(const QString& path, int frames)
{
    QVERIFY(writeWavFile(path, frames));
}

} // namespace

class TstCues : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void blockingCueLastsItsLength_data();
    void blockingCueLastsItsLength();
    void blockingCueTakesNoEvents();
    void startedCueFinishesLater();
    void heldCueOpensAgainOnceReleased();
    void soundplayRepaintsOnce_data();
    void soundplayRepaintsOnce();
    void soundplayMark_data();
    void soundplayMark();
    void zeroLengthEndsAtOnce();
    void randomCueName_data();
    void randomCueName();
    void missingFileEndsTheSequence();

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
};

void TstCues::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The windows name cues by bare file name, looked up in the current
    // directory.
    m_oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    for (int ms : {100, 200, 400})
        writeWav(QStringLiteral("%1.wav").arg(ms), 22050 * ms / 1000);
    writeWav(QStringLiteral("tiny.wav"), 10);
}

void TstCues::cleanupTestCase()
{
    QDir::setCurrent(m_oldCwd);
}

void TstCues::blockingCueLastsItsLength_data()
{
    QTest::addColumn<int>("ms");
    QTest::newRow("short cue") << 100;
    QTest::newRow("longer cue") << 400;
}

void TstCues::blockingCueLastsItsLength()
{
    QFETCH(int, ms);
    TMediaPlayer player;
    QElapsedTimer t;
    t.start();
    MediaCuePlayer(player).soundplay(QStringLiteral("%1.wav").arg(ms));
    QVERIFY2(t.elapsed() >= ms - 30 && t.elapsed() <= ms + 150, qPrintable(QString::number(t.elapsed())));
    QVERIFY(!player.isOpen());
}

void TstCues::blockingCueTakesNoEvents()
{
    TMediaPlayer player;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    MediaCuePlayer(player).soundplay(QStringLiteral("200.wav"));
    QCOMPARE(ticks, 0);
    QTRY_VERIFY(ticks >= 1); // the ticks that fell due come afterwards
}

void TstCues::startedCueFinishesLater()
{
    TMediaPlayer player;
    MediaCuePlayer cues(player);
    QElapsedTimer t;
    t.start();
    cues.startCue(QStringLiteral("400.wav"));
    QVERIFY2(t.elapsed() < 100, "the start cue was waited for");
    std::this_thread::sleep_for(std::chrono::milliseconds(150)); // the new game is laid out meanwhile
    cues.finishCue();
    QVERIFY2(t.elapsed() >= 370 && t.elapsed() <= 550, qPrintable(QString::number(t.elapsed())));
    QVERIFY(!player.isOpen());
}

void TstCues::heldCueOpensAgainOnceReleased()
{
    TMediaPlayer player;
    MediaCuePlayer cues(player);
    cues.openHeldCue(QStringLiteral("100.wav"));
    QCOMPARE(player.Position(), 0);
    // Closing the window, or a blocking cue, lets the held cue go; the next
    // move takes it again.
    for (const std::function<void()>& release : std::initializer_list<std::function<void()>>{
             [&] { cues.close(); }, [&] { cues.soundplay(QStringLiteral("tiny.wav")); }}) {
        release();
        QVERIFY(!player.isOpen());
        cues.playHeldCue(QStringLiteral("100.wav"));
        QCOMPARE(player.fileName(), QStringLiteral("100.wav"));
        QTRY_VERIFY(player.Position() > 0);
    }
}

void TstCues::soundplayRepaintsOnce_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("fraction");
    QTest::addColumn<int>("repaints");
    QTest::addColumn<int>("mark");
    QTest::newRow("shot sound: a quarter of the way") << QStringLiteral("400.wav") << 4 << 1 << 100;
    QTest::newRow("half way") << QStringLiteral("200.wav") << 2 << 1 << 100;
    QTest::newRow("fraction 1: no repaint") << QStringLiteral("200.wav") << 1 << 0 << 0;
    QTest::newRow("fraction 0: no repaint") << QStringLiteral("100.wav") << 0 << 0 << 0;
}

void TstCues::soundplayRepaintsOnce()
{
    QFETCH(QString, fileName);
    QFETCH(int, fraction);
    QFETCH(int, repaints);
    QFETCH(int, mark);
    TMediaPlayer player;
    QList<int> positions;
    MediaCuePlayer(player).soundplay(fileName, fraction, [&] { positions.append(player.Position()); });
    QCOMPARE(positions.size(), repaints);
    // At the first poll past the mark; the position moves in steps of one
    // device buffer (about 23 ms).
    if (repaints)
        QVERIFY2(positions[0] > mark && positions[0] <= mark + 60, qPrintable(QString::number(positions[0])));
    QVERIFY(!player.isOpen());
}

void TstCues::soundplayMark_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("fraction");
    QTest::addColumn<int>("mark");
    QTest::newRow("exact quarter") << 400 << 4 << 100;
    QTest::newRow("below half rounds down") << 401 << 4 << 100;
    QTest::newRow("above half rounds up") << 403 << 4 << 101;
    QTest::newRow("half, even below stays") << 402 << 4 << 100;
    QTest::newRow("half, odd below rounds up") << 406 << 4 << 102;
    QTest::newRow("zero length") << 0 << 4 << 0;
}

void TstCues::soundplayMark()
{
    QFETCH(int, length);
    QFETCH(int, fraction);
    QFETCH(int, mark);
    QCOMPARE(::soundplayMark(length, fraction), mark);
}

void TstCues::zeroLengthEndsAtOnce()
{
    TMediaPlayer player;
    MediaCuePlayer cues(player);
    int repaints = 0;
    QElapsedTimer t;
    t.start();
    cues.soundplay(QStringLiteral("tiny.wav"), 4, [&] { ++repaints; });
    cues.startCue(QStringLiteral("tiny.wav"));
    QCOMPARE(player.Length(), 0);
    cues.finishCue();
    QVERIFY2(t.elapsed() < 30, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(repaints, 0);
}

void TstCues::randomCueName_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("reseed");
    QTest::addColumn<int>("draw");
    QTest::addColumn<QString>("name");
    QTest::newRow("record fanfare, highest") << 3 << 5 << true << 2 << QStringLiteral("5.wav");
    QTest::newRow("no record, lowest") << 6 << 9 << true << 0 << QStringLiteral("6.wav");
    QTest::newRow("miss motif, no reseed") << 18 << 19 << false << 1 << QStringLiteral("19.wav");
}

void TstCues::randomCueName()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, reseed);
    QFETCH(int, draw);
    QFETCH(QString, name);
    ScriptedRandom random({draw});
    QCOMPARE(::randomCueName(random, first, last, reseed), name);
    const QList<int> asked = reseed ? QList<int>{0, last - first + 1} : QList<int>{last - first + 1};
    QCOMPARE(random.asked, asked);
}

void TstCues::missingFileEndsTheSequence()
{
    TMediaPlayer player;
    MediaCuePlayer cues(player);
    int repaints = 0;
    QVERIFY_THROWS_EXCEPTION(EError, cues.soundplay(QStringLiteral("missing.wav"), 4, [&] { ++repaints; }));
    QVERIFY_THROWS_EXCEPTION(EError, cues.startCue(QStringLiteral("missing.wav")));
    QVERIFY_THROWS_EXCEPTION(EError, cues.openHeldCue(QStringLiteral("missing.wav")));
    QVERIFY_THROWS_EXCEPTION(EError, cues.playHeldCue(QStringLiteral("missing.wav")));
    QVERIFY_THROWS_EXCEPTION(EError, cues.finishCue()); // nothing open to wait for
    QCOMPARE(repaints, 0);
}

TIVORAMA_TEST_MAIN(TstCues)
#include "tst_cues.moc"
