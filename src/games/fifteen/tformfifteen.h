// The fifteen puzzle's window: sixteen tile panels over the board model, the
// clock on the counter display, the slide cue, and the end of a solved game.
#pragma once

#include "fifteenboard.h"
#include "tgameform.h"

class TBoard;
class TPanel;
class TShadowLabel;

class TFormFifteen : public TGameForm {
    Q_OBJECT
public:
    TFormFifteen();

    void FormCreate() override;
    void FormActivate() override;

    void NewGame() override;        // "Новый расклад", F2, SpeedButton1
    void TileClick(int position);   // Panel1Click .. Panel16Click and their labels
    void Timer1Timer() override;

    // Shows the board; `afterDeal` hides every tile first and skips the solved test.
    void Redraw(bool afterDeal);

    FifteenBoard Board;

    TDigitalDisplay* Label1;    // the clock
    TBoard* Panel;              // the tiles' frame, played from the keyboard too
    TPanel* Tiles[16];          // Panel1 .. Panel16
    TShadowLabel* Labels[16];   // ShadowLabel1 .. ShadowLabel16

private:
    void EndOfGame();
    // Each position is read as its tile's number, the gap as empty.
    void nameTiles();
};

extern TFormFifteen* FormFifteen;
