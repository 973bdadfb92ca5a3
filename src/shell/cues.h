// The ways a game window plays its numbered cues, named once: to the end
// (blocking, with the sea battle's repaint part-way), started early and
// waited for later, and held open for replay on every move. A window plays
// them through the CuePlayer interface, which the media player backs and a
// test double can record. Every CuePlayer call raises its failure as EError,
// as the media player does; what a window does with it is the window's
// policy (see TGameForm).
#pragma once

#include <QString>

#include <functional>

class RandomSource;
class TMediaPlayer;

class CuePlayer {
public:
    virtual ~CuePlayer();

    // A blocking cue: opens fileName, plays it to its end and closes it. The
    // window takes no events meanwhile. For fraction > 1, repaint is called
    // once, at the first poll at which the position passes length / fraction
    // (soundplayMark), so a change on the board shows part-way through.
    virtual void soundplay(const QString& fileName, int fraction = 1, const std::function<void()>& repaint = {}) = 0;

    // Opens fileName and starts it without waiting, for a cue that sounds
    // while the window sets up a new game; finishCue() waits for it.
    virtual void startCue(const QString& fileName) = 0;
    // Waits until the started cue has played to its end, then closes it.
    virtual void finishCue() = 0;

    // Opens fileName as the held cue of a game, without playing it.
    virtual void openHeldCue(const QString& fileName) = 0;
    // Plays the held cue fileName without waiting; a cue still sounding goes
    // on from where it is. Opens it first when it is not the open file:
    // closing the window or a blocking cue released it.
    virtual void playHeldCue(const QString& fileName) = 0;

    // Stops and closes whatever is open; nothing open, nothing happens.
    virtual void close() = 0;
};

// The cues on a window's media player. The waits poll the player on the UI
// thread without running the event loop.
class MediaCuePlayer : public CuePlayer {
public:
    explicit MediaCuePlayer(TMediaPlayer& player)
        : m_player(player)
    {
    }
    void soundplay(const QString& fileName, int fraction = 1, const std::function<void()>& repaint = {}) override;
    void startCue(const QString& fileName) override;
    void finishCue() override;
    void openHeldCue(const QString& fileName) override;
    void playHeldCue(const QString& fileName) override;
    void close() override;

private:
    TMediaPlayer& m_player;
};

// The position soundplay() must pass before it repaints: length / fraction
// rounded to the nearest integer, halves to the even neighbour.
int soundplayMark(int length, int fraction);

// The file name "n.wav" for n drawn uniformly from first..last, reseeding the
// source from the clock first unless reseed is false.
QString randomCueName(RandomSource& random, int first, int last, bool reseed = true);
