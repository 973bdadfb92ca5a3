// What actually reaches the sound device, recorded by SDL's "disk" driver:
// blocking cues in order and whole, the held cue going on rather than
// restarting, two windows' cues mixed, and an open that silences the cue
// before it. Each test cue is a constant level, so every recorded frame tells
// which cues were sounding.
#include "testutil.h"

#include "cues.h"
#include "tapplication.h"
#include "tmediaplayer.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace {

QString g_recording;

// A mono 44100 Hz wave file (the mix rate, so no resampling blurs the level)
// holding `ms` milliseconds of the constant `level`.
void writeLevel(const QString& path, double level, int ms)
{
    QVERIFY(writeWavFile(path, 44100 * ms / 1000, 44100, 1, 16, [level](int) { return level; }));
}

struct Run {
    double level;
    int frames;
    bool operator==(const Run&) const = default;
};

char* toString(const Run& r)
{
    return qstrdup(QByteArray("(" + QByteArray::number(r.level) + ", " + QByteArray::number(r.frames) + ")"));
}

// Waits until the idle device has been closed, which completes the
// recording, and splits it into runs of equal non-silent level. The device
// records float stereo frames at 44100 Hz, the format the player asks for.
QList<Run> recordedRuns()
{
    QList<Run> runs;
    if (!QTest::qWaitFor([] { return !SDL_WasInit(SDL_INIT_AUDIO); }, 6000))
        return runs;
    QFile f(g_recording);
    if (!f.open(QIODevice::ReadOnly))
        return runs;
    const QByteArray bytes = f.readAll();
    const auto* samples = reinterpret_cast<const float*>(bytes.constData());
    const qsizetype frames = bytes.size() / qsizetype(2 * sizeof(float));
    double previous = 0.0;
    for (qsizetype i = 0; i < frames; ++i) {
        const double level = std::round(samples[2 * i] * 1000.0) / 1000.0;
        if (level != 0.0 && level == previous)
            ++runs.last().frames;
        else if (level != 0.0)
            runs.append({level, 1});
        previous = level;
    }
    return runs;
}

int framesOf(int ms)
{
    return 44100 * ms / 1000;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

class TstCuePlayback : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void blockingCuesInOrderAndWhole();
    void heldCueGoesOnRatherThanRestarting();
    void twoWindowsSoundTogether();
    void openSilencesTheCueBefore();

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
};

void TstCuePlayback::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    writeLevel(QStringLiteral("quarter.wav"), 0.25, 100);
    writeLevel(QStringLiteral("half.wav"), 0.5, 60);
    writeLevel(QStringLiteral("eighth.wav"), 0.125, 80);
    writeLevel(QStringLiteral("held.wav"), 0.25, 200);
    writeLevel(QStringLiteral("long.wav"), 0.25, 300);
}

void TstCuePlayback::cleanupTestCase()
{
    QDir::setCurrent(m_oldCwd);
}

void TstCuePlayback::blockingCuesInOrderAndWhole()
{
    TMediaPlayer player;
    MediaCuePlayer cues(player);
    int repaints = 0;
    cues.soundplay(QStringLiteral("quarter.wav"));
    cues.soundplay(QStringLiteral("half.wav"));
    cues.soundplay(QStringLiteral("eighth.wav"), 4, [&] { ++repaints; });
    QCOMPARE(repaints, 1);
    const QList<Run> expected{{0.25, framesOf(100)}, {0.5, framesOf(60)}, {0.125, framesOf(80)}};
    QCOMPARE(recordedRuns(), expected);
}

void TstCuePlayback::heldCueGoesOnRatherThanRestarting()
{
    TMediaPlayer player;
    MediaCuePlayer(player).openHeldCue(QStringLiteral("held.wav"));
    player.Play();
    sleepMs(80);
    player.Play(); // still sounding: goes on
    while (player.Position() < player.Length())
        sleepMs(1);
    sleepMs(80);
    player.Play(); // ran to its end: starts again
    while (player.Position() < player.Length())
        sleepMs(1);
    player.Close();
    const QList<Run> expected{{0.25, framesOf(200)}, {0.25, framesOf(200)}};
    QCOMPARE(recordedRuns(), expected);
}

void TstCuePlayback::twoWindowsSoundTogether()
{
    TMediaPlayer fifteen;
    TMediaPlayer saper;
    MediaCuePlayer fifteenCues(fifteen);
    MediaCuePlayer saperCues(saper);
    fifteenCues.startCue(QStringLiteral("held.wav"));
    saperCues.startCue(QStringLiteral("half.wav"));
    saperCues.finishCue();
    fifteenCues.finishCue();
    int alone = 0, other = 0, together = 0;
    for (const Run& r : recordedRuns()) {
        if (r.level == 0.25)
            alone += r.frames;
        else if (r.level == 0.75)
            together += r.frames;
        else
            other += r.frames;
    }
    QCOMPARE(together, framesOf(60));
    QCOMPARE(alone, framesOf(200) - framesOf(60));
    QCOMPARE(other, 0);
}

void TstCuePlayback::openSilencesTheCueBefore()
{
    TMediaPlayer player;
    MediaCuePlayer cues(player);
    cues.startCue(QStringLiteral("long.wav"));
    sleepMs(100);
    cues.soundplay(QStringLiteral("half.wav"));
    const QList<Run> runs = recordedRuns();
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.at(0).level, 0.25);
    QVERIFY2(runs.at(0).frames < framesOf(250), QByteArray::number(runs.at(0).frames));
    QCOMPARE(runs.at(1), (Run{0.5, framesOf(60)}));
}

// SDL reads its driver choice when audio starts, so it is set before the
// application exists; the recording lives in a directory of its own.
int main(int argc, char** argv)
{
    QTemporaryDir recordingDir;
    if (!recordingDir.isValid())
        return 1;
    g_recording = recordingDir.filePath(QStringLiteral("played.raw"));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", QFile::encodeName(g_recording).constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The disk driver announces itself on every device open; keep the test
    // output to the results.
    SDL_LogSetOutputFunction([](void*, int, SDL_LogPriority, const char*) {}, nullptr);
    TApplication app(argc, argv);
    TstCuePlayback tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_cueplayback.moc"
