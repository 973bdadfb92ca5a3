// Cue sequences over the media player. The waits poll the player on the UI
// thread without running the event loop, sleeping between polls so that a
// blocking cue does not keep a core busy.
#include "cues.h"

#include "randomsource.h"
#include "tmediaplayer.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(1);
// A position that does not move for this long means the sound system stopped
// taking samples; waiting on would freeze every window for good.
constexpr auto kStallLimit = std::chrono::seconds(2);

void waitForEnd(TMediaPlayer& player, int fraction, const std::function<void()>& repaint)
{
    const int length = player.Length();
    const int mark = fraction > 1 ? soundplayMark(length, fraction) : 0;
    bool repaintDue = fraction > 1 && repaint;
    int lastPosition = -1;
    Clock::time_point lastMove = Clock::now();
    for (;;) {
        const int position = player.Position();
        // Checked before the end test, so that a sound shorter than one poll
        // still shows its change before the wait ends.
        if (repaintDue && position > mark) {
            repaintDue = false;
            repaint();
        }
        if (position >= length)
            break;
        const Clock::time_point now = Clock::now();
        if (position != lastPosition) {
            lastPosition = position;
            lastMove = now;
        } else if (now - lastMove > kStallLimit) {
            break;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

} // namespace

int soundplayMark(int length, int fraction)
{
    int quotient = length / fraction;
    const int twiceRemainder = 2 * (length % fraction);
    if (twiceRemainder > fraction || (twiceRemainder == fraction && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

void playCue(TMediaPlayer& player, const QString& fileName)
{
    soundplay(player, fileName, 1, {});
}

void startCue(TMediaPlayer& player, const QString& fileName)
{
    player.setFileName(fileName);
    player.Open();
    player.Play();
}

void finishCue(TMediaPlayer& player)
{
    waitForEnd(player, 1, {});
    player.Close();
}

void openHeldCue(TMediaPlayer& player, const QString& fileName)
{
    player.setFileName(fileName);
    player.Open();
}

void soundplay(TMediaPlayer& player, const QString& fileName, int fraction,
               const std::function<void()>& repaint)
{
    startCue(player, fileName);
    waitForEnd(player, fraction, repaint);
    player.Close();
}

QString randomCueName(RandomSource& random, int first, int last, bool reseed)
{
    if (reseed)
        random.Randomize();
    const int n = first + random.Random(last - first + 1);
    return QString::number(n) + QStringLiteral(".wav");
}
