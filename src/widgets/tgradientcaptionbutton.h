// One button of the gradient title bar (close, minimize, maximize, help).
// It is no widget of its own: the title bar places it, draws it into the bar
// and hands it the mouse events that hit it.
#pragma once

#include <QObject>
#include <QRect>

class QPainter;
class QWidget;

enum TCaptionButtonKind { cbClose, cbMinimize, cbMaximize, cbHelp };

class TGradientCaptionButton : public QObject {
    Q_OBJECT
public:
    TGradientCaptionButton(TCaptionButtonKind kind, QWidget* window, QObject* parent);

    TCaptionButtonKind kind() const { return m_kind; }
    // In window coordinates.
    QRect rect() const { return m_rect; }
    void setRect(const QRect& rect);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool isPressed() const { return m_pressed; }
    bool isTracking() const { return m_tracking; }

    // The face extended 2 pixels up and down; the close button's also 2
    // pixels right, to the edge of the bar.
    QRect hitRect() const;

    // Mouse events at button-relative points.
    void mouseDown(Qt::MouseButton button, const QPoint& local);
    void mouseMove(const QPoint& local);
    void mouseUp(Qt::MouseButton button, const QPoint& local);
    // Drops a press in progress without acting, as when the window hides.
    void cancel();

    // The classic caption-button face; `restoreGlyph` swaps the minimize or
    // maximize glyph for the restore one.
    void paint(QPainter& p, bool restoreGlyph) const;

signals:
    void clicked();

private:
    bool hits(const QPoint& local) const;
    void redraw();

    TCaptionButtonKind m_kind;
    QWidget* m_window;
    QRect m_rect;
    bool m_visible = false;
    bool m_enabled = true;
    bool m_pressed = false;
    bool m_tracking = false;
};
