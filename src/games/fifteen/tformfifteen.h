// The fifteen puzzle's window: sixteen tile panels over the board model, the
// clock on a digital display, the cues, and the game's result dialogs.
#pragma once

#include "fifteenboard.h"
#include "randomsource.h"
#include "resultdialogs.h"
#include "tform.h"
#include "ttop.h"

class QTimer;
class TBevel;
class TDigitalDisplay;
class TFlatSpeedButton;
class TMediaPlayer;
class TPanel;
class TShadowLabel;

class TFormFifteen : public TForm {
    Q_OBJECT
public:
    TFormFifteen();

    void FormCreate() override;
    void FormActivate() override;
    void FormClose() override;

    void NewGame();                 // "Новый расклад", F2, SpeedButton1
    void TileClick(int position);   // Panel1Click .. Panel16Click and their labels
    void Timer1Timer();
    void ShowTable();               // "Лучшие результаты", F3
    void ShowRules();               // "Правила игры", F1

    // Shows the board; `afterDeal` hides every tile first and skips the solved test.
    void Redraw(bool afterDeal);

    // The window's random source; tests replace it with a scripted one.
    void setRandom(RandomSource* random) { m_random = random ? random : &m_clockRandom; }

    FifteenBoard Board;
    Ttop Top;

    TDigitalDisplay* Label1;
    TBevel* Bevel1;
    TFlatSpeedButton* SpeedButton1;
    TPanel* Panel;
    TPanel* Tiles[16];          // Panel1 .. Panel16
    TShadowLabel* Labels[16];   // ShadowLabel1 .. ShadowLabel16
    TMediaPlayer* MediaPlayer1;
    QTimer* Timer1;

    static TGameScores scores();

private:
    void EndOfGame();
    void playMoveSound();

    ClockRandom m_clockRandom;
    RandomSource* m_random = &m_clockRandom;
};

class TForm15Over : public TRecordDialog {
    Q_OBJECT
public:
    TForm15Over();
};

class TForm15badover : public TNoRecordDialog {
    Q_OBJECT
public:
    TForm15badover();
};

class TForm15table : public TRecordTable {
    Q_OBJECT
public:
    TForm15table();
};

extern TFormFifteen* FormFifteen;
extern TForm15badover* Form15badover;
extern TForm15Over* Form15Over;
extern TForm15table* Form15table;
