// What every game window shares, made once: the game and help menus with the
// items all games have, the counter header (digital display in its bevel and
// the new-game button), the media player and the one policy for cues, the
// one-second clock where the game has one, the game's high-score table, the
// table window, the rules viewer, and the end of a game through the result
// dialogs. A game window derives from TGameForm, describes itself once in a
// TGameInfo and adds only its own controls and handlers.
#pragma once

#include "cues.h"
#include "randomsource.h"
#include "resultdialogs.h"
#include "tform.h"
#include "ttop.h"

#include <QIcon>
#include <QPoint>
#include <QPointer>

#include <memory>

class QAction;
class QInputEvent;
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
    QString counterMeaning;     // what it counts, as a screen reader says it: "Время"
    QPoint counterPos;          // the display's top-left corner; its bevel lies 2 pixels outside
    QPoint newGameButtonPos;    // the new-game button's top-left corner (34 x 34)
    bool hasClock = false;      // a one-second Timer1 that calls Timer1Timer()
    // Clicks and keys the player made on the window while one of its
    // blocking cues played are thrown away rather than handled afterwards.
    bool dropsInputMadeDuringCues = false;

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

    // What every cue of the window is played through: MediaPlayer1, or a
    // test's stand-in (nullptr restores the media player).
    void setCuePlayer(CuePlayer* player) { m_cues = player ? player : m_mediaCues.get(); }
    CuePlayer& cuePlayer() { return *m_cues; }

    // Whether the input event was made on this window while one of its
    // blocking cues played (see TGameInfo::dropsInputMadeDuringCues).
    bool madeDuringCue(const QInputEvent& event) const;

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

    // The cues, named by what a failure does (CuePlayer says what each
    // plays). ...OrThrow raises the failure: the handler ends there and the
    // error report shows it. It is for a cue the next steps wait on: the new
    // deal on its start cue, a result dialog on its fanfare. ...OrReport
    // hands the failure to the error report and returns, and the handler
    // goes on; the report shows once the handler has ended. It is for a cue
    // that follows a change the game has already made, so that the window
    // still comes to show the state the game is in.
    void startCueOrThrow(const QString& fileName);
    void finishCueOrThrow();
    void openHeldCueOrThrow(const QString& fileName);
    void playCueOrThrow(const QString& fileName);
    // With fraction > 1 the window is repainted once part-way through, so a
    // change shows while the cue sounds.
    void playCueOrReport(const QString& fileName, int fraction = 1);
    void playHeldCueOrReport(const QString& fileName);

    // A won game: the end-of-game rule with this score (record or no-record
    // dialog after a cue), then the table window.
    void EndOfWonGame(int score);
    // A lost game: cue 16 or 17, then the lost-game dialog.
    void EndOfLostGame();

private:
    // A blocking cue has just played to its end.
    void blockingCueEnded();

    TGameInfo m_info;
    QAction* m_ownItemsEnd = nullptr; // the separator above "Выход"
    ClockRandom m_clockRandom;
    RandomSource* m_random = &m_clockRandom;
    std::unique_ptr<MediaCuePlayer> m_mediaCues;
    CuePlayer* m_cues = nullptr;
    // In the time of the input events: what was made before this was made
    // while a blocking cue played. Zero: nothing to drop.
    quint64 m_inputMadeBefore = 0;
};
