// A game board: a panel holding rows × columns cell controls, read by a
// screen reader as a table of named cells and playable from the keyboard.
// The arrow keys move a focus cell (no wrap-around), Enter and the space bar
// act on it as a click would, and a click on a cell moves it there. The
// focus cell shows as a frame only once an arrow key has been pressed, so a
// mouse player sees the board as it always was. What a cell is called is the
// game's business: its window names the cells (accessibility::setName).
#pragma once

#include "tpanel.h"

#include <QList>

#include <functional>

class TBoardFocusFrame;

class TBoard : public TPanel {
    Q_OBJECT
public:
    TBoard(int rows, int columns, QWidget* parent);

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

    // Cell `index` (row-major from 0) is `cell`, which must be a child of the
    // board; it stays where its owner put it.
    void setCell(int index, QWidget* cell);
    QWidget* cell(int index) const { return m_cells.value(index); }
    int indexOf(const QObject* cell) const;

    int focusCell() const { return m_focus; }
    // Moves the focus cell; a screen reader hears of it while the board has
    // the keyboard focus.
    void setFocusCell(int index);
    // Whether the focus frame is drawn: after the first arrow key.
    bool frameShown() const { return m_frameShown; }
    // While this says no, the arrows, Enter and the space bar are left to the
    // window (the sea battle places its fleet with them). Unset: always.
    void setKeysActive(std::function<bool()> active) { m_keysActive = std::move(active); }

    // Draws nothing of its own: the cells lie on whatever is behind the board.
    void setTransparent(bool on);
    bool transparent() const { return m_transparent; }

    // The coordinate of a cell as players name it: the column's letter
    // (А Б В Г Д Е Ж З И К) and the row's number from 1 ("Б3").
    static QString coordinate(int row, int column);
    static QString columnName(int column);

    // A screen reader's press on a cell: it becomes the focus cell and is
    // acted on, as by Enter.
    void activateCell(int index);

    void paintBackground(QPainter& p) const override;

signals:
    // Enter or the space bar on the focus cell, or a screen reader's press:
    // the window acts on the cell as on a click.
    void cellActivated(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void moveFocus(int dRow, int dColumn);
    void notifyFocusCell();
    void updateFrame();

    int m_rows;
    int m_columns;
    QList<QWidget*> m_cells;
    int m_focus = 0;
    bool m_frameShown = false;
    bool m_focused = false; // has the keys, or had them when its window went inactive
    bool m_transparent = false;
    std::function<bool()> m_keysActive;
    TBoardFocusFrame* m_frame;
};
