// The ways the game windows play their numbered cues through their media
// player: to the end (blocking), started early and finished later, held open
// for replay on every move, and the sea battle's form with one repaint part-way.
#pragma once

#include <QString>

#include <functional>

class RandomSource;
class TMediaPlayer;

// Opens fileName, plays it to its end and closes it. Takes no events while it
// waits: the window neither repaints nor takes input meanwhile.
void playCue(TMediaPlayer& player, const QString& fileName);

// Opens fileName and starts it without waiting, for a cue that sounds while
// the window sets up a new game; finishCue() waits for it later.
void startCue(TMediaPlayer& player, const QString& fileName);

// Waits until the open cue has played to its end, then closes the player.
void finishCue(TMediaPlayer& player);

// Opens fileName without playing it; each move then calls Play() on it.
void openHeldCue(TMediaPlayer& player, const QString& fileName);

// A blocking cue that, for fraction > 1, calls repaint once, at the first poll
// at which the position exceeds length / fraction (rounded to nearest, halves
// to even), so a change on the board shows part-way through the sound.
void soundplay(TMediaPlayer& player, const QString& fileName, int fraction,
               const std::function<void()>& repaint);

// The position soundplay() must pass before it repaints: length / fraction
// rounded to the nearest integer, halves to the even neighbour.
int soundplayMark(int length, int fraction);

// The file name "n.wav" for n drawn uniformly from first..last, reseeding the
// source from the clock first unless reseed is false.
QString randomCueName(RandomSource& random, int first, int last, bool reseed = true);
