// A click on a control: a left press and a release inside it. Both events are
// kept by the control, so the panel behind it is not clicked as well.
#pragma once

#include <QMouseEvent>
#include <QWidget>

class TClick {
public:
    // Takes a left press; any other button is left to the caller.
    bool press(QMouseEvent* e)
    {
        if (e->button() != Qt::LeftButton)
            return false;
        m_pressed = true;
        e->accept();
        return true;
    }

    enum Release { NotLeft, Taken, Clicked };
    // Takes a left release; Clicked when it ends a press made on `control`
    // and falls inside it.
    Release release(QMouseEvent* e, const QWidget* control)
    {
        if (e->button() != Qt::LeftButton)
            return NotLeft;
        const bool click = m_pressed && control->rect().contains(e->position().toPoint());
        m_pressed = false;
        e->accept();
        return click ? Clicked : Taken;
    }

private:
    bool m_pressed = false;
};
