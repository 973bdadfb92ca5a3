// The program ends when the system asks it to, also after a cue has started
// SDL's audio: a child process plays a cue, runs its event loop and is sent
// the signal.
#include "tapplication.h"
#include "tmediaplayer.h"

#include <QElapsedTimer>
#include <QTest>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The child: the application object, a cue playing, the event loop. Reports
// on `ready` once the cue plays; never returns.
[[noreturn]] void playAndWait(int ready)
{
    int argc = 1;
    char name[] = "tst_signals";
    char* argv[] = {name, nullptr};
    TApplication app(argc, argv);
    TMediaPlayer player;
    player.setFileName(QStringLiteral(TIVORAMA_BUILD_DIR "/1.wav"));
    try {
        player.Open();
        player.Play();
    } catch (...) {
        _exit(2);
    }
    if (write(ready, "p", 1) != 1)
        _exit(3);
    app.exec();
    _exit(0);
}

} // namespace

class TstSignals : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void signalEndsProgram_data();
    void signalEndsProgram();
};

void TstSignals::initTestCase()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
}

void TstSignals::signalEndsProgram_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM (kill, logout)") << SIGTERM;
    QTest::newRow("SIGINT (Ctrl+C)") << SIGINT;
}

void TstSignals::signalEndsProgram()
{
    QFETCH(int, signal);
    int ready[2];
    QCOMPARE(pipe(ready), 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // As a program starts: without the test runner's own handlers.
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        close(ready[0]);
        playAndWait(ready[1]);
    }
    close(ready[1]);
    pollfd wait{ready[0], POLLIN, 0};
    char byte = 0;
    const bool played = poll(&wait, 1, 10000) == 1 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);

    if (played)
        kill(child, signal);
    int status = 0;
    QElapsedTimer t;
    t.start();
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && t.elapsed() < 1000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    QVERIFY2(played, "the child did not play its cue");
    QVERIFY2(ended == child, "still running a second after the signal");
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), signal);
}

QTEST_APPLESS_MAIN(TstSignals)
#include "tst_signals.moc"
