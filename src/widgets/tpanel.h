// Bevelled panels: the plain panel, the tiled wallpaper panel and the bevel frame.
#pragma once

#include <QImage>
#include <QPixmap>
#include "tclick.h"

#include <QWidget>

class QPainter;

enum TBevelCut { bvNone, bvLowered, bvRaised };

// Frames drawn one inside another, from a rectangle's edges inwards. A frame
// is one pixel wide at scale 1; on a scaled surface it is a band of whole
// device pixels, as wide on every side, and the next frame starts where the
// last one ended.
class TFrames {
public:
    TFrames(QPainter& p, const QRect& r);
    // Draws `width` frames, top and left edges in `topLeft`, bottom and right
    // edges (with the top-right and bottom-left corners) in `bottomRight`.
    void draw(const QColor& topLeft, const QColor& bottomRight, int width = 1);
    // A line up the left edge and along the top edge just inside the frames
    // drawn so far, one frame wide; leaves what is inside as it is.
    void drawTopLeft(const QColor& colour);
    // What the frames drawn so far leave inside: in logical pixels, one less
    // on every side for each frame, and in the painter's device pixels.
    QRect inner() const { return m_logical; }
    QRect innerDevice() const { return m_device; }
    // Device pixels of one frame's width.
    int line() const { return m_line; }

private:
    QPainter& m_p;
    QRect m_logical;
    QRect m_device;
    int m_line;
    bool m_scaled;
};

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
    void paintScaledTiles(QPainter& p, int frames) const;

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
