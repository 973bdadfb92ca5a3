// Drawing that stays sharp at any display scale. Qt maps a widget's logical
// pixels onto device pixels by the desktop's scale factor; at 1.5 a one-pixel
// line then covers one device pixel or two depending on where it lies, and a
// picture drawn through that mapping loses or doubles rows. The helpers here
// work out which device pixels a logical rectangle covers, the way Qt rounds
// a widget's own edges, and draw there directly: lines a whole number of
// device pixels wide, pictures enlarged by a whole factor with each source
// pixel a solid block and, where the scale is fractional, reduced smoothly to
// the exact size from that whole-factor picture.
#pragma once

#include <QImage>
#include <QRect>

class QColor;
class QPainter;

namespace pixelart {

// The device pixel edge nearest to a device coordinate, halves up, as Qt
// rounds a widget's edges (tolerant of the tiny errors of float arithmetic).
int snap(qreal device);

// Device pixels per logical pixel under the painter: 1 on a plain image, the
// display scale on a widget.
qreal scaleOf(const QPainter& p);
// True when logical pixels are device pixels (scale 1, whole offset), so the
// ordinary drawing is already exact.
bool isUnscaled(const QPainter& p);
bool isWhole(qreal scale);

// The device pixels that a logical rectangle covers under the painter.
QRect deviceRect(const QPainter& p, const QRectF& logical);

// The width in device pixels of a line one logical pixel wide: the scale
// rounded to the nearest whole number, halves down, and never below 1.
// Rounding down at halves keeps a bevel from reaching into what it frames.
int lineWidth(qreal scale);

// While it lives, the painter's coordinates are device pixels.
class DeviceScope {
public:
    explicit DeviceScope(QPainter& p);
    ~DeviceScope();
    DeviceScope(const DeviceScope&) = delete;
    DeviceScope& operator=(const DeviceScope&) = delete;

private:
    QPainter& m_p;
};

// Every pixel as a factor × factor block.
QImage enlarged(const QImage& picture, int factor);

// The picture at `size` device pixels: enlarged by the whole factor that
// reaches the size, then, where that overshoots, reduced smoothly to it.
// Results are cached by picture and size.
QImage resized(const QImage& picture, const QSize& size);

// Draws the picture at its own logical size with its top-left corner at a
// logical point.
void draw(QPainter& p, const QPointF& logicalTopLeft, const QImage& picture);
// Draws the picture into exactly these device pixels.
void drawDevice(QPainter& p, const QRect& device, const QImage& picture);
// Fills the device pixels that a logical rectangle covers.
void fill(QPainter& p, const QRectF& logical, const QColor& colour);

} // namespace pixelart
