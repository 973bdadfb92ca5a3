// What every game window shares, made once: the game and help menus with the
// items all games have, the counter header (digital display in its bevel and
// the new-game button), the media player, the one-second clock where the game
// has one, the game's high-score table, the table window, the rules viewer,
// and the end of a game through the result dialogs. A game window derives
// from TGameForm, describes itself once in a TGameInfo and adds only its own
// controls and handlers.
#pragma once

#include "randomsource.h"
#include "resultdialogs.h"
#include "tform.h"
#include "ttop.h"

#include <QIcon>
#include <QPoint>
#include <QPointer>

class QAction;
class QMenu;
class QTimer;
class TBevel;
class TDigitalDisplay;
class TFlatSpeedButton;
class TMediaPlayer;

// How a game window differs from the others in what they share.
struct TGameInfo {
    quint8 number = 0;          // 1 fifteen, 2 minesweeper, 3 sea battle: score file and rules
    QString objectName;         // of the window, e.g. "FormFifteen"
    QString caption;            // of the window and of its result dialogs
    QIcon icon;                 // of the window and of its dialogs
    QSize clientSize;
    QString newGameItem;        // the first item of the game menu, F2
    QString newGameGlyph;       // the new-game button's glyph, a resource path
    int recordDialogHeight = 171;
    QString counterName;        // "Label1" or "TimerBoard"
    QPoint counterPos;          // the display's top-left corner; its bevel lies 2 pixels outside
    QPoint newGameButtonPos;    // the new-game button's top-left corner (34 x 34)
    bool hasClock = false;      // a one-second Timer1 that calls Timer1Timer()


    // Every game names its rules file by its number and its rules viewer and
    // table window after itself.
    QString rulesFile() const { return QString::number(number) + QStringLiteral(".doc"); }
    QString rulesCaption() const { return caption + QStringLiteral(" - правила игры"); }
    QString tableCaption() const { return caption + QStringLiteral(" - лучшие результаты"); }
};

// The windows around a game's table; the window registry makes them, in its
// own order, through TGameForm::makeDialog().
enum class TGameDialog { Table, Record, NoRecord, Lost };

class TGameForm : public TForm {
    Q_OBJECT
public:
    explicit TGameForm(TGameInfo info);

    const TGameInfo& game() const { return m_info; }

    // New game: the first item of the game menu (F2) and the speed button.
    virtual void NewGame() = 0;
    // Every second while the window lives, for games with a clock.
    virtual void Timer1Timer() {}

    // "Лучшие результаты" (F3): the table window, modally.
    void ShowTable();
    // "Правила игры" (F1): the rules viewer with this game's file, caption and icon.
    void ShowRules();
    // Closes the media player; the window then hides.
    void FormClose() override;

    // Makes one of the windows around this game's table (object name `name`)
    // and keeps a reference to it.
    TForm* makeDialog(TGameDialog kind, const QString& name);

    // What the result dialogs read and write of this game.
    TGameScores scores();

    // The source of every random draw of the window and its model; tests
    // hand in a scripted one (nullptr restores the clock-seeded source).
    void setRandom(RandomSource* random) { m_random = random ? random : &m_clockRandom; }
    RandomSource& random() { return *m_random; }

    Ttop Top;

    QMenu* GameMenu;
    QMenu* HelpMenu;
    TDigitalDisplay* Counter;        // named after the game: Label1 or TimerBoard
    TBevel* Bevel1;
    TFlatSpeedButton* SpeedButton1;  // new game
    TMediaPlayer* MediaPlayer1;
    QTimer* Timer1 = nullptr;        // only in games with a clock

    QPointer<TRecordTable> Table;
    QPointer<TRecordDialog> Over;
    QPointer<TNoRecordDialog> Badover;
    QPointer<TLostGameDialog> Lose;

protected:
    // Adds an item to the game menu above its separator and "Выход", where
    // each game's own items go, in the order they are added.
    QAction* addGameItem(const QString& text, const QKeySequence& shortcut, std::function<void()> handler);
    // A submenu in the same place.
    QMenu* addGameSubmenu(const QString& title);

    // A fresh table for this game, loaded from its file.
    void LoadTable();
    // Shows a three-digit number on the counter ("007").
    void ShowCount(int value);
    // The counter's number; throws when its text is not one.
    int CounterValue() const;

    // Plays a cue to its end through MediaPlayer1; the window takes no input
    // meanwhile. With fraction > 1 the window is repainted once part-way
    // through, so a change shows while the cue sounds.
    void PlayCue(const QString& fileName, int fraction = 1);
    // Plays the held cue of a move without waiting. Closing the window
    // released it, so it is opened again when it is not open. A failure is
    // reported and stops nothing: the move must still be shown and judged,
    // or what is on screen would no longer be the game.
    void PlayHeldCue(const QString& fileName);

    // Throws away the clicks and keys the player made while a blocking cue
    // played: they were made without seeing the board the cue was about, and
    // a queued click on the enemy's sea would fire a shot nobody meant.
    void DropInputMadeDuringCues();

    // A won game: the end-of-game rule with this score (record or no-record
    // dialog after a cue), then the table window.
    void EndOfWonGame(int score);
    // A lost game: cue 16 or 17, then the lost-game dialog.
    void EndOfLostGame();

private:
    TGameInfo m_info;
    QAction* m_ownItemsEnd = nullptr; // the separator above "Выход"
    ClockRandom m_clockRandom;
    RandomSource* m_random = &m_clockRandom;
};
