// Bevelled panels. The wallpaper tiles start at the inner rectangle's corner
// and the last row and column are cut off there, so the bevel stays visible.
#include "tpanel.h"

#include "look.h"
#include "pixelart.h"
#include "readimage.h"

#include <QMouseEvent>
#include <QPainter>

#include <optional>

TFrames::TFrames(QPainter& p, const QRect& r)
    : m_p(p)
    , m_logical(r)
    , m_scaled(!pixelart::isUnscaled(p))
{
    m_device = m_scaled ? pixelart::deviceRect(p, r) : r;
    m_line = m_scaled ? pixelart::lineWidth(pixelart::scaleOf(p)) : 1;
}

void TFrames::draw(const QColor& topLeft, const QColor& bottomRight, int width)
{
    std::optional<pixelart::DeviceScope> scope;
    if (m_scaled)
        scope.emplace(m_p);
    for (int i = 0; i < width && m_logical.width() > 0 && m_logical.height() > 0; ++i) {
        const int band = qMin(m_line, qMin(m_device.width(), m_device.height()));
        if (band > 0) {
            const int l = m_device.left(), t = m_device.top(), w = m_device.width(), h = m_device.height();
            m_p.fillRect(QRect(l, t, w - band, band), topLeft);           // top, without the top-right corner
            m_p.fillRect(QRect(l, t, band, h - band), topLeft);           // left, without the bottom-left corner
            m_p.fillRect(QRect(l + w - band, t, band, h), bottomRight);   // right
            m_p.fillRect(QRect(l, t + h - band, w, band), bottomRight);   // bottom
            m_device.adjust(band, band, -band, -band);
        }
        m_logical.adjust(1, 1, -1, -1);
    }
}

void TFrames::drawTopLeft(const QColor& colour)
{
    if (m_device.isEmpty())
        return;
    std::optional<pixelart::DeviceScope> scope;
    if (m_scaled)
        scope.emplace(m_p);
    const int band = qMin(m_line, qMin(m_device.width(), m_device.height()));
    m_p.fillRect(QRect(m_device.left(), m_device.top(), band, m_device.height()), colour);
    m_p.fillRect(QRect(m_device.left(), m_device.top(), m_device.width(), band), colour);
}

TPanel::TPanel(QWidget* parent)
    : QWidget(parent)
    , m_color(look::btnFace())
{
    resize(185, 41);
}

void TPanel::setBevelOuter(TBevelCut v) { if (v != m_bevelOuter) { m_bevelOuter = v; update(); } }
void TPanel::setBevelInner(TBevelCut v) { if (v != m_bevelInner) { m_bevelInner = v; update(); } }
void TPanel::setBevelWidth(int v) { if (v > 0 && v != m_bevelWidth) { m_bevelWidth = v; update(); } }
void TPanel::setBorderWidth(int v) { if (v >= 0 && v != m_borderWidth) { m_borderWidth = v; update(); } }
void TPanel::setColor(const QColor& c) { if (c != m_color) { m_color = c; update(); } }
void TPanel::setCaption(const QString& c) { if (c != m_caption) { m_caption = c; update(); } }
void TPanel::setBorderSingle(bool v) { if (v != m_borderSingle) { m_borderSingle = v; update(); } }

int TPanel::frameWidth() const
{
    int b = m_borderWidth + (m_borderSingle ? 2 : 0);
    if (m_bevelOuter != bvNone)
        b += m_bevelWidth;
    if (m_bevelInner != bvNone)
        b += m_bevelWidth;
    return b;
}

QRect TPanel::paintPanel(QPainter& p) const
{
    // The face first: on a scaled surface the bevels may end short of the
    // logical inner edge, and the face fills what they leave.
    pixelart::fill(p, rect(), m_color);
    TFrames frames(p, rect());
    if (m_borderSingle) {
        // The sunken single border of a windowed control: shadow and frame
        // colours outside, highlight and face inside.
        frames.draw(look::btnShadow(), look::btnHighlight());
        frames.draw(look::windowFrame(), look::btnFace());
    }
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        const bool raised = cut == bvRaised;
        frames.draw(raised ? look::btnHighlight() : look::btnShadow(),
                    raised ? look::btnShadow() : look::btnHighlight(), m_bevelWidth);
    };
    bevel(m_bevelOuter);
    if (m_borderWidth > 0)
        frames.draw(m_color, m_color, m_borderWidth);
    bevel(m_bevelInner);
    const QRect r = frames.inner();
    if (!m_caption.isEmpty()) {
        // The painter may be a child's, lent to paint what lies behind it:
        // hand it back with its own pen and font.
        p.save();
        p.setPen(palette().color(QPalette::WindowText));
        p.setFont(font());
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextExpandTabs, m_caption);
        p.restore();
    }
    return r;
}

void TPanel::paintBackground(QPainter& p) const
{
    paintPanel(p);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintBackground(p);
}

void TPanel::mousePressEvent(QMouseEvent* e)
{
    if (!m_click.press(e))
        QWidget::mousePressEvent(e);
}

void TPanel::mouseReleaseEvent(QMouseEvent* e)
{
    const TClick::Release r = m_click.release(e, this);
    if (r == TClick::NotLeft)
        QWidget::mouseReleaseEvent(e);
    else if (r == TClick::Clicked)
        emit clicked();
}

TWallpaper::TWallpaper(QWidget* parent)
    : TPanel(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TWallpaper::setWallpaper(const QImage& picture)
{
    m_picture = picture;
    if (picture.isNull()) {
        m_tile = QPixmap();
    } else if (picture.cacheKey() == sharedTile().cacheKey()) {
        // Every window shows the same stone: one pixmap serves them all.
        static const QPixmap shared = QPixmap::fromImage(sharedTile());
        m_tile = shared;
    } else {
        m_tile = QPixmap::fromImage(picture);
    }
    update();
}

void TWallpaper::paintBackground(QPainter& p) const
{
    const QRect inner = paintPanel(p);
    if (m_tile.isNull() || m_tile.width() <= 0 || m_tile.height() <= 0)
        return;
    const int b = frameWidth();
    if (!pixelart::isUnscaled(p)) {
        paintScaledTiles(p, b);
        return;
    }
    const int w = m_tile.width(), h = m_tile.height();
    const int columns = (width() - 2 * b) / w;
    const int rows = (height() - 2 * b) / h;
    p.save();
    p.setClipRect(inner, Qt::IntersectClip);
    if (columns >= 0 && rows >= 0) {
        for (int i = 0; i <= columns; ++i)
            for (int j = 0; j <= rows; ++j)
                p.drawPixmap(inner.left() + i * w, inner.top() + j * h, m_tile);
    }
    p.restore();
}

void TWallpaper::paintScaledTiles(QPainter& p, int frames) const
{
    // The tiles start at the inner corner of the bevels as drawn, in device
    // pixels, and repeat at the tile's scaled size. The stone texture is
    // seamless, so a tile reduced smoothly to that size still joins its
    // neighbours without a seam.
    const qreal s = pixelart::scaleOf(p);
    const int inset = frames * pixelart::lineWidth(s);
    const QRect inner = pixelart::deviceRect(p, rect()).adjusted(inset, inset, -inset, -inset);
    const QSize size(qMax(1, pixelart::snap(m_picture.width() * s)), qMax(1, pixelart::snap(m_picture.height() * s)));
    const QImage tile = pixelart::resized(m_picture, size);
    if (inner.isEmpty() || tile.isNull())
        return;
    pixelart::DeviceScope scope(p);
    p.setClipRect(inner, Qt::IntersectClip);
    for (int x = inner.left(); x <= inner.right(); x += size.width())
        for (int y = inner.top(); y <= inner.bottom(); y += size.height())
            p.drawImage(x, y, tile);
}

const QImage& TWallpaper::sharedTile()
{
    static const QImage tile = readImage(QStringLiteral(":/images/wallpaper.bmp"));
    return tile;
}

TBevel::TBevel(QWidget* parent, TBevelCut style)
    : QWidget(parent)
    , m_style(style)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::setStyle(TBevelCut style)
{
    if (style != m_style) {
        m_style = style;
        update();
    }
}

void TBevel::paintEvent(QPaintEvent*)
{
    if (m_style == bvNone)
        return;
    QPainter p(this);
    const bool raised = m_style == bvRaised;
    TFrames(p, rect()).draw(raised ? look::btnHighlight() : look::btnShadow(),
                            raised ? look::btnShadow() : look::btnHighlight());
}
