// Bevelled panels: the plain panel, the tiled wallpaper panel and the bevel frame.
#pragma once

#include <QImage>
#include <QPixmap>
#include "tclick.h"

#include <QWidget>

class QPainter;

enum TBevelCut { bvNone, bvLowered, bvRaised };

// Draws `width` one-pixel frames into r, top and left edges in `topLeft`,
// bottom and right edges (with the top-right and bottom-left corners) in
// `bottomRight`, shrinking r by one pixel on every side per frame.
void frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width = 1);

class TPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    TBevelCut bevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut v);
    TBevelCut bevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut v);
    int bevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int v);
    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int v);
    QColor color() const { return m_color; }
    void setColor(const QColor& c);
    QString caption() const { return m_caption; }
    void setCaption(const QString& c);
    // A single sunken border drawn outside the bevels, as cell panels have.
    bool borderSingle() const { return m_borderSingle; }
    void setBorderSingle(bool v);

    // Total width of frames around the inner rectangle.
    int frameWidth() const;

    // The panel's own painting, at panel coordinates. Transparent children
    // call it with a translated painter to get what lies behind them.
    virtual void paintBackground(QPainter& p) const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

    // Bevels, border, background and caption; returns the inner rectangle.
    QRect paintPanel(QPainter& p) const;

private:
    TBevelCut m_bevelOuter = bvRaised;
    TBevelCut m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    bool m_borderSingle = false;
    TClick m_click;
    QColor m_color;
    QString m_caption;
};

// A panel whose inner area is covered with a picture repeated as tiles.
class TWallpaper : public TPanel {
    Q_OBJECT
public:
    explicit TWallpaper(QWidget* parent = nullptr);

    const QImage& wallpaper() const { return m_picture; }
    // Copies the picture; the panel repaints with the new tiles.
    void setWallpaper(const QImage& picture);

    void paintBackground(QPainter& p) const override;

    // The stone tile every window of the program uses.
    static const QImage& sharedTile();

private:
    QImage m_picture;
    QPixmap m_tile; // m_picture converted once for fast drawing
};

// A lowered or raised box frame, as drawn round the digital displays.
class TBevel : public QWidget {
    Q_OBJECT
public:
    explicit TBevel(QWidget* parent = nullptr, TBevelCut style = bvLowered);
    void setStyle(TBevelCut style);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TBevelCut m_style;
};
