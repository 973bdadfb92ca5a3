// The wait for the first cue, which loads SDL, against a later one; CPU used
// by the process while sound plays and while it idles: a 1-second blocking
// cue (target under 5 % of one core), and the quiet program holding a cue open
// once the device has been let go (target about 0.15 %). Runs on SDL's dummy
// driver unless SDL_AUDIODRIVER names another.
#include "cues.h"
#include "tmediaplayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool writeTone(const QString& path, int ms)
{
    const int rate = 22050;
    const int frames = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < frames; ++i) {
        const auto v = qint16(std::lround(8000 * std::sin(2 * 3.14159265358979 * 440.0 * i / rate)));
        data.append(char(v & 0xff));
        data.append(char((v >> 8) & 0xff));
    }
    auto le = [](quint32 x, int n) {
        QByteArray b;
        for (int i = 0; i < n; ++i)
            b.append(char((x >> (8 * i)) & 0xff));
        return b;
    };
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("RIFF" + le(36 + data.size(), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(rate, 4) +
            le(rate * 2, 4) + le(2, 2) + le(16, 2) + "data" + le(data.size(), 4) + data);
    return true;
}

// Runs the event loop for `ms` and returns the CPU share of one core used.
double idleShare(int ms)
{
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    QTimer::singleShot(ms, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    return (cpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
}

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid() || !writeTone(dir.filePath("second.wav"), 1000) || !writeTone(dir.filePath("tick.wav"), 50))
        return 1;
    QDir::setCurrent(dir.path());

    TMediaPlayer player;
    player.setFileName(QStringLiteral("tick.wav"));
    for (const char* which : {"first (loads SDL, opens the device)", "second"}) {
        QElapsedTimer wall;
        wall.start();
        player.Open();
        std::printf("%s open of a cue: %.1f ms\n", which, double(wall.nsecsElapsed()) / 1e6);
    }
    MediaCuePlayer cues(player);
    cues.soundplay(QStringLiteral("tick.wav")); // the device is open from here on

    std::vector<double> shares;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = cpuSeconds();
        cues.soundplay(QStringLiteral("second.wav"));
        const double cpu = cpuSeconds() - cpu0;
        const double seconds = double(wall.nsecsElapsed()) / 1e9;
        shares.push_back(cpu / seconds);
        std::printf("blocking 1 s cue: wall %.3f s, cpu %.4f s, %.2f %% of one core\n", seconds, cpu,
                    100.0 * cpu / seconds);
    }
    std::sort(shares.begin(), shares.end());
    std::printf("blocking 1 s cue, median: %.2f %% of one core (target < 5 %%)\n", 100.0 * shares[shares.size() / 2]);

    // A held cue, played once and left open, as between two moves.
    cues.openHeldCue(QStringLiteral("tick.wav"));
    player.Play();
    std::printf("idle, held cue open, device still open: %.3f %% of one core\n", 100.0 * idleShare(2000));
    idleShare(1000); // the device goes in this second
    std::printf("idle, held cue open, device let go: %.3f %% of one core (target <= 0.15 %%)\n",
                100.0 * idleShare(5000));
    player.Close();
    return 0;
}
