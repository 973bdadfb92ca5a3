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

CuePlayer::~CuePlayer() = default;

int soundplayMark(int length, int fraction)
{
    int quotient = length / fraction;
    const int twiceRemainder = 2 * (length % fraction);
    if (twiceRemainder > fraction || (twiceRemainder == fraction && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

void MediaCuePlayer::soundplay(const QString& fileName, int fraction, const std::function<void()>& repaint)
{
    startCue(fileName);
    waitForEnd(m_player, fraction, repaint);
    m_player.Close();
}

void MediaCuePlayer::startCue(const QString& fileName)
{
    m_player.setFileName(fileName);
    m_player.Open();
    m_player.Play();
}

void MediaCuePlayer::finishCue()
{
    waitForEnd(m_player, 1, {});
    m_player.Close();
}

void MediaCuePlayer::openHeldCue(const QString& fileName)
{
    m_player.setFileName(fileName);
    m_player.Open();
}

void MediaCuePlayer::playHeldCue(const QString& fileName)
{
    if (!m_player.isOpen() || m_player.fileName() != fileName)
        openHeldCue(fileName);
    m_player.Play();
}

void MediaCuePlayer::close()
{
    m_player.Close();
}

QString randomCueName(RandomSource& random, int first, int last, bool reseed)
{
    if (reseed)
        random.Randomize();
    const int n = first + random.Random(last - first + 1);
    return QString::number(n) + QStringLiteral(".wav");
}
