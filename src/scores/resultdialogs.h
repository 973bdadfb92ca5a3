// The windows around a game's high-score table, shared by the three games:
// the table window, the record dialog that asks the winner's name, the
// no-record dialog and (sea battle) the lost-game dialog; and the end-of-game
// rule that chooses between them. Each game makes its own instances, which
// differ only in the settings of TGameScores.
#pragma once

#include "tform.h"

#include <QIcon>

#include <functional>

class QLabel;
class QLineEdit;
class RandomSource;
class TBitBtn;
class TMediaPlayer;
struct Ttop;

// What differs between the games.
struct TGameScores {
    quint8 game = 0;               // 1 fifteen, 2 minesweeper, 3 sea battle
    QString caption;               // of the dialogs
    QString tableCaption;          // of the table window
    QIcon icon;
    int recordDialogHeight = 171;  // client height of the record dialog
    std::function<Ttop&()> table;  // the game window's own table
    std::function<QString()> scoreText; // the text of the game's counter
};

// The integer value of a counter text ("007" is 7); anything else is an error.
int scoreValue(const QString& text);

class TRecordTable : public TForm {
    Q_OBJECT
public:
    TRecordTable(const QString& name, TGameScores scores);

    // Rereads the table from its file and fills the rows.
    void FormActivate() override;

    QLabel* rankLabel(int rank) const { return m_ranks[rank - 1]; }
    QLabel* scoreLabel(int rank) const { return m_scores[rank - 1]; }
    TBitBtn* BitBtn1;

private:
    TGameScores m_game;
    QLabel* m_ranks[10];
    QLabel* m_scores[10];
};

class TRecordDialog : public TForm {
    Q_OBJECT
public:
    TRecordDialog(const QString& name, TGameScores scores);

    // Focus on the name, all of it selected, so typing replaces it.
    void FormActivate() override;
    // Enters the name and the score into the table and closes.
    void BitBtn1Click();

    QLineEdit* EditName;
    TBitBtn* BitBtn1;

private:
    TGameScores m_game;
};

// A dialog of a few centred lines of text in a panel, and OK.
class TMessageDialog : public TForm {
    Q_OBJECT
public:
    struct Line {
        int left, top;
        QString text;
    };
    TMessageDialog(const QString& name, const TGameScores& scores, int clientHeight, int panelHeight,
                   int okLeft, int okTop, const std::vector<Line>& lines);

    TBitBtn* BitBtn1;
};

class TNoRecordDialog : public TMessageDialog {
    Q_OBJECT
public:
    TNoRecordDialog(const QString& name, const TGameScores& scores);
};

class TLostGameDialog : public TMessageDialog {
    Q_OBJECT
public:
    TLostGameDialog(const QString& name, const TGameScores& scores);
};

// The end of a won game: the counter's number is the score; a score below
// the tenth entry plays cue 3, 4 or 5 and opens the record dialog, any other
// plays cue 6, 7, 8 or 9 and opens the no-record dialog; then the table
// window. `play` plays a blocking cue by file name.
void EndOfGameRule(const TGameScores& scores, int score, RandomSource& random,
                   const std::function<void(const QString&)>& play, TRecordDialog* recordDialog,
                   TNoRecordDialog* noRecordDialog, TRecordTable* table);
