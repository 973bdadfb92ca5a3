// The minesweeper's window: a block of 100 cell panels over the minefield
// model, the clock on TimerBoard, pause, the mine count shown under the
// options, the cues, and the ends of a lost and a won game; and the options
// dialog that sets the mine count.
#pragma once

#include "minefield.h"
#include "tgameform.h"
#include "tpanel.h"

#include <optional>

class QAction;
class QLineEdit;
class TBitBtn;
class TBoard;
class TShadowLabel;

// A cell panel. It draws its own number or picture, so that a disabled cell
// keeps its colours as the field stays on show after a game.
class TMineCell : public TPanel {
    Q_OBJECT
public:
    explicit TMineCell(QWidget* parent);

    // A number in a colour, or a picture, on the panel's face; an empty text
    // and a null picture leave the face bare.
    void setText(const QString& text, const QColor& color);
    void setImage(const QImage& image);
    QString text() const { return m_text; }
    QColor textColor() const { return m_textColor; }
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_text;
    QColor m_textColor;
    QImage m_image;
};

class TFormSaper : public TGameForm {
    Q_OBJECT
public:
    TFormSaper();

    void FormCreate() override;
    void FormActivate() override;

    void NewGame() override;          // "Новый расклад", F2, SpeedButton1
    void Panel1Click(int k);          // every cell panel, k = 1..100
    void PauseClick();                // "Пауза ", F6, FlatSpeedButton1
    void OptionsClick();              // "Опции"
    void Timer1Timer() override;

    // Lays a new field: every cell closed, the mines laid and counted, every
    // cell enabled afterwards.
    void NewField();
    // Ends any game without a result and shows a fresh field with the clock
    // at "000" and pause disabled, as after the options dialog.
    void ResetGame();

    Minefield Field;

    TDigitalDisplay* TimerBoard;
    TFlatSpeedButton* FlatSpeedButton1;  // pause
    TShadowLabel* ShadowLabel1;          // "20 мин"
    TBoard* MainPanel;                   // the cells' frame, played from the keyboard too
    TMineCell* Cells[100];               // Panel1 .. Panel100
    QAction* PauseItem;

private:
    void setPauseEnabled(bool enabled);
    void showNumber(TMineCell* cell, int value);
    void showMines(bool won);
    void setCellsEnabled(bool enabled);
    void LossSequence(TMineCell* hit);
    void WinSequence();
    // Every cell is read as its coordinate and what it shows: "Б3,
    // закрыта", "Б3, 2", "Б3, пусто", "Б3, мина".
    void nameCells();
};

class TFormSaperOptions : public TForm {
    Q_OBJECT
public:
    TFormSaperOptions();

    void FormCreate() override;
    void BitBtn1Click();  // OK

    QLineEdit* Edit1;
    TBitBtn* BitBtn1;     // OK
    TBitBtn* BitBtn2;     // "Отмена"
};

// The mine count the options dialog's entry gives: a whole number from 5 to
// 50; nothing for any other text.
std::optional<int> parseMineCount(const QString& text);

extern TFormSaper* FormSaper;
extern TFormSaperOptions* FormSaperOptions;
