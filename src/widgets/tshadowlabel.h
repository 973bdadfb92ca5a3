// A text label that draws its caption over a copy of itself in a shadow
// colour shifted diagonally, so the text looks raised from (or sunk into) its
// background; otherwise an ordinary label with auto size, vertical layout,
// word wrap and an accelerator that focuses another control.
#pragma once

#include "tclick.h"
#include "vcltypes.h"

#include <QColor>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

class QShortcut;

// The side on which the shadow copy shows.
enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

class TShadowLabel : public QWidget {
    Q_OBJECT
public:
    explicit TShadowLabel(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    TAlignment alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    // Named so as not to hide QWidget::layout().
    TTextLayout textLayout() const { return m_layout; }
    void setTextLayout(TTextLayout layout);

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);

    QColor shadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor& color);
    quint8 shadowSize() const { return m_shadowSize; }
    void setShadowSize(quint8 size);
    TShadowPosition shadowPos() const { return m_shadowPos; }
    void setShadowPos(TShadowPosition pos);

    bool showAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool on);
    bool showFocus() const { return m_showFocus; }
    void setShowFocus(bool on);
    // Receives the focus on Alt+the caption's accelerator letter; cleared
    // when that control is destroyed.
    QWidget* focusControl() const { return m_focusControl; }
    void setFocusControl(QWidget* control);

    // When transparent the label paints no background and whatever lies
    // behind it shows between the letters.
    bool transparent() const { return m_transparent; }
    void setTransparent(bool on);

    // The background colour: the parent's colour until one is set.
    QColor color() const;
    void setColor(const QColor& color);
    bool parentColor() const { return m_parentColor; }
    void setParentColor(bool on);

    // The text colour, kept in the palette so a parent's text colour is
    // inherited like its font.
    QColor fontColor() const;
    void setFontColor(const QColor& color);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Draws the caption and its shadow into r with the given text flags, or
    // with no painter only measures them; either way r ends as the union of
    // the text and shadow rectangles.
    void drawCaption(QPainter* p, QRect& r, int flags) const;
    void drawFocusRect(QPainter& p, const QRect& r) const;
    void adjustBounds();
    void updateAccelerator();
    void acceleratorPressed();
    void focusMoved();
    void focusControlDestroyed();

    QString m_caption;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_autoSize = true;
    bool m_wordWrap = false;
    QColor m_shadowColor;
    quint8 m_shadowSize = 1;
    TShadowPosition m_shadowPos = spLeftTop;
    bool m_showAccelChar = true;
    bool m_showFocus = false;
    bool m_transparent = false;
    QColor m_color;
    bool m_parentColor = true;
    QPointer<QWidget> m_focusControl;
    QMetaObject::Connection m_focusControlWatch;
    bool m_controlFocused = false; // whether m_focusControl had the focus at the last focus move
    TClick m_click;
    QShortcut* m_accelerator = nullptr;
};
