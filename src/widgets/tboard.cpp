// The game board. The focus frame is drawn by a child laid over the cells,
// so it can stand on a cell that is hidden (the fifteen puzzle's gap) and no
// cell has to know how to draw it.
#include "tboard.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

class TBoardFocusFrame : public QWidget {
public:
    explicit TBoardFocusFrame(TBoard* board)
        : QWidget(board)
        , m_board(board)
    {
        setObjectName(QStringLiteral("qt_board_focusframe"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QWidget* cell = m_board->cell(m_board->focusCell());
        if (!cell)
            return;
        // Black, yellow, black: a frame that stands out on tiles, closed and
        // open cells and water alike, and by its shape, not by a colour.
        QPainter p(this);
        TFrames frames(p, cell->geometry());
        frames.draw(Qt::black, Qt::black);
        frames.draw(QColor(255, 255, 0), QColor(255, 255, 0), 2);
        frames.draw(Qt::black, Qt::black);
    }

private:
    TBoard* m_board;
};

TBoard::TBoard(int rows, int columns, QWidget* parent)
    : TPanel(parent)
    , m_rows(rows)
    , m_columns(columns)
    , m_cells(rows * columns, nullptr)
    , m_frame(new TBoardFocusFrame(this))
{
    setFocusPolicy(Qt::StrongFocus);
}

QString TBoard::columnName(int column)
{
    // Й is left out, as on the boards players draw on paper.
    static const QString letters = QStringLiteral("АБВГДЕЖЗИК");
    return column >= 0 && column < letters.size() ? QString(letters.at(column)) : QString::number(column + 1);
}

QString TBoard::coordinate(int row, int column)
{
    return columnName(column) + QString::number(row + 1);
}

void TBoard::setCell(int index, QWidget* cell)
{
    if (index < 0 || index >= m_cells.size() || !cell || cell->parentWidget() != this)
        return;
    m_cells[index] = cell;
    // A press anywhere on the cell, also on a label lying on it, moves the
    // focus cell.
    cell->installEventFilter(this);
    for (QWidget* child : cell->findChildren<QWidget*>())
        child->installEventFilter(this);
    // An interface a screen reader asked for before the cell joined the board
    // would go on reading it as a plain control.
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(cell); iface && iface->role() != QAccessible::Cell)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    m_frame->setGeometry(rect());
    m_frame->raise();
}

int TBoard::indexOf(const QObject* cell) const
{
    for (int i = 0; i < m_cells.size(); ++i)
        if (m_cells[i] && m_cells[i] == cell)
            return i;
    return -1;
}

void TBoard::setFocusCell(int index)
{
    if (index < 0 || index >= m_cells.size() || index == m_focus)
        return;
    m_focus = index;
    updateFrame();
    if (hasFocus())
        notifyFocusCell();
}

void TBoard::activateCell(int index)
{
    if (index < 0 || index >= m_cells.size())
        return;
    setFocusCell(index);
    emit cellActivated(index);
}

void TBoard::setTransparent(bool on)
{
    if (on != m_transparent) {
        m_transparent = on;
        update();
    }
}

void TBoard::paintBackground(QPainter& p) const
{
    if (!m_transparent)
        TPanel::paintBackground(p);
}

void TBoard::notifyFocusCell()
{
    if (QWidget* cell = m_cells.value(m_focus)) {
        QAccessibleEvent event(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void TBoard::updateFrame()
{
    m_frame->setGeometry(rect());
    m_frame->setVisible(m_frameShown && m_focused);
    m_frame->update();
}

void TBoard::moveFocus(int dRow, int dColumn)
{
    const int row = qBound(0, m_focus / m_columns + dRow, m_rows - 1);
    const int column = qBound(0, m_focus % m_columns + dColumn, m_columns - 1);
    m_frameShown = true;
    updateFrame();
    setFocusCell(row * m_columns + column);
}

void TBoard::keyPressEvent(QKeyEvent* event)
{
    const bool modified = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (modified || (m_keysActive && !m_keysActive())) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left: moveFocus(0, -1); break;
    case Qt::Key_Right: moveFocus(0, 1); break;
    case Qt::Key_Up: moveFocus(-1, 0); break;
    case Qt::Key_Down: moveFocus(1, 0); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // A held key is one press, as a held mouse button is one click.
        if (!event->isAutoRepeat())
            emit cellActivated(m_focus);
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void TBoard::focusInEvent(QFocusEvent* event)
{
    TPanel::focusInEvent(event);
    m_focused = true;
    updateFrame();
    // After the toolkit has told of the board taking the focus, tell of the
    // cell within it.
    QMetaObject::invokeMethod(
        this, [this] { if (hasFocus()) notifyFocusCell(); }, Qt::QueuedConnection);
}

void TBoard::focusOutEvent(QFocusEvent* event)
{
    TPanel::focusOutEvent(event);
    // A dialog or a menu over the window takes the keys for a while; the
    // frame stays, as the board gets them back.
    const Qt::FocusReason reason = event->reason();
    m_focused = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
                || reason == Qt::MenuBarFocusReason;
    updateFrame();
}

bool TBoard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (QObject* o = watched; o && o != this; o = o->parent()) {
            if (const int index = indexOf(o); index >= 0) {
                setFocusCell(index);
                break;
            }
        }
    }
    return TPanel::eventFilter(watched, event);
}
