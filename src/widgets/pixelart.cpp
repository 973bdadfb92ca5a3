// Device-pixel drawing: the rounding of logical edges, the device coordinate
// scope, and the enlarged and reduced pictures with their cache.
#include "pixelart.h"

#include <QCache>
#include <QColor>
#include <QHashFunctions>
#include <QPainter>
#include <QtMath>

#include <cmath>
#include <cstring>

namespace pixelart {

namespace {

constexpr qreal kTolerance = 1e-6;

struct CacheKey {
    qint64 picture;
    int width;
    int height;
    bool operator==(const CacheKey& o) const = default;
};

size_t qHash(const CacheKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.picture, k.width, k.height);
}

// Big enough for every picture of every window at twice the size; the wallpaper
// tile is the largest.
QCache<CacheKey, QImage>& cache()
{
    static QCache<CacheKey, QImage> pictures(32 * 1024 * 1024);
    return pictures;
}

// 32 bits a pixel, with alpha premultiplied where there is any, so smooth
// reduction blends transparent edges correctly.
QImage flat32(const QImage& picture)
{
    const QImage::Format want =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return picture.format() == want ? picture : picture.convertToFormat(want);
}

} // namespace

int snap(qreal device)
{
    return qFloor(device + 0.5 + kTolerance);
}

qreal scaleOf(const QPainter& p)
{
    return p.deviceTransform().m11();
}

bool isWhole(qreal scale)
{
    return std::abs(scale - std::round(scale)) < kTolerance;
}

bool isUnscaled(const QPainter& p)
{
    const QTransform t = p.deviceTransform();
    return t.type() <= QTransform::TxTranslate && isWhole(t.dx()) && isWhole(t.dy());
}

QRect deviceRect(const QPainter& p, const QRectF& logical)
{
    const QTransform t = p.deviceTransform();
    const int left = snap(t.m11() * logical.left() + t.dx());
    const int top = snap(t.m22() * logical.top() + t.dy());
    const int right = snap(t.m11() * (logical.left() + logical.width()) + t.dx());
    const int bottom = snap(t.m22() * (logical.top() + logical.height()) + t.dy());
    return QRect(left, top, right - left, bottom - top);
}

int lineWidth(qreal scale)
{
    return qMax(1, qCeil(scale - 0.5 - kTolerance));
}

DeviceScope::DeviceScope(QPainter& p)
    : m_p(p)
{
    m_p.save();
    m_p.resetTransform();
    m_p.setWorldTransform(m_p.deviceTransform().inverted());
}

DeviceScope::~DeviceScope()
{
    m_p.restore();
}

QImage enlarged(const QImage& picture, int factor)
{
    if (factor <= 1 || picture.isNull())
        return picture;
    const QImage source = flat32(picture);
    const int w = source.width(), h = source.height();
    QImage out(w * factor, h * factor, source.format());
    if (out.isNull())
        return out;
    for (int y = 0; y < h; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* first = reinterpret_cast<QRgb*>(out.scanLine(y * factor));
        for (int x = 0; x < w; ++x)
            for (int i = 0; i < factor; ++i)
                first[x * factor + i] = from[x];
        for (int i = 1; i < factor; ++i)
            std::memcpy(out.scanLine(y * factor + i), first, size_t(out.bytesPerLine()));
    }
    return out;
}

QImage resized(const QImage& picture, const QSize& size)
{
    if (picture.isNull() || size.isEmpty() || size == picture.size())
        return picture;
    const CacheKey key{picture.cacheKey(), size.width(), size.height()};
    if (const QImage* hit = cache().object(key))
        return *hit;

    const int w = picture.width(), h = picture.height();
    const int factor = qMax(1, qMax((size.width() + w - 1) / w, (size.height() + h - 1) / h));
    QImage out = enlarged(picture, factor);
    if (out.size() != size) {
        out = flat32(out).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!picture.hasAlphaChannel())
            out = out.convertToFormat(QImage::Format_RGB32);
    }
    cache().insert(key, new QImage(out), int(qMin<qsizetype>(out.sizeInBytes(), INT_MAX)));
    return out;
}

void drawDevice(QPainter& p, const QRect& device, const QImage& picture)
{
    if (device.isEmpty() || picture.isNull())
        return;
    QImage shown = resized(picture, device.size());
    // Its pixels are device pixels, whatever the picture says of itself.
    shown.setDevicePixelRatio(1);
    DeviceScope scope(p);
    p.drawImage(device.topLeft(), shown);
}

void draw(QPainter& p, const QPointF& logicalTopLeft, const QImage& picture)
{
    if (isUnscaled(p)) {
        p.drawImage(logicalTopLeft, picture);
        return;
    }
    drawDevice(p, deviceRect(p, QRectF(logicalTopLeft, QSizeF(picture.size()))), picture);
}

void fill(QPainter& p, const QRectF& logical, const QColor& colour)
{
    if (isUnscaled(p)) {
        p.fillRect(logical, colour);
        return;
    }
    const QRect device = deviceRect(p, logical);
    DeviceScope scope(p);
    p.fillRect(device, colour);
}

} // namespace pixelart
