// The hemisphere button. All per-pixel work (rings, dome shading, glyph
// mapping) happens in BuildImages when the look or the size changes; a paint
// is one drawImage of a picture whose alpha already holds the mask.
#include "themispherebutton.h"

#include "look.h"
#include "pixelart.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlack = 0xff000000;
// Each component of the light direction (-1, -1, 1)/√3: light from the upper left, in front.
constexpr double kLight = 0.5773502692;

// Rounds halves to even (the default rounding mode) and clamps to a byte;
// NaN, which an absurd AttenControl can produce, gives 0.
int toByte(double v)
{
    v = std::nearbyint(v);
    if (!(v > 0))
        return 0;
    return v > 255 ? 255 : int(v);
}

bool isWhite(QRgb c)
{
    return (c & 0xffffff) == 0xffffff;
}

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    if (!image.isNull())
        image.fill(colour);
    return image;
}

// A box from (x1, y1) to (x2, y2), right and bottom edges excluded. The
// ellipse in it holds the pixels whose centres lie inside or on it, which
// makes a 5 × 5 disc lose one pixel at each corner and a 9 × 9 disc three.
struct Ellipse {
    long long x1, y1, x2, y2;

    bool contains(long long x, long long y) const
    {
        const long long w = x2 - x1, h = y2 - y1;
        if (w <= 0 || h <= 0)
            return false;
        // Doubled coordinates keep the pixel centres whole numbers. The
        // products stay far inside 64 bits for any picture that could be
        // allocated, since the box lies within the picture.
        const long long dx = 2 * x + 1 - (x1 + x2);
        const long long dy = 2 * y + 1 - (y1 + y2);
        return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
    }
};

void fillEllipse(QImage& image, const Ellipse& e, QRgb colour)
{
    const long long top = std::max(0LL, e.y1), bottom = std::min<long long>(image.height(), e.y2);
    const long long left = std::max(0LL, e.x1), right = std::min<long long>(image.width(), e.x2);
    for (long long y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (long long x = left; x < right; ++x)
            if (e.contains(x, y))
                line[x] = colour;
    }
}

// The one-pixel outline of the same ellipse: its pixels that have a
// neighbour outside it, so outline and fill always agree.
void outlineEllipse(QImage& image, const Ellipse& e, QRgb colour)
{
    const long long top = std::max(0LL, e.y1), bottom = std::min<long long>(image.height(), e.y2);
    const long long left = std::max(0LL, e.x1), right = std::min<long long>(image.width(), e.x2);
    for (long long y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (long long x = left; x < right; ++x)
            if (e.contains(x, y)
                && (!e.contains(x - 1, y) || !e.contains(x + 1, y) || !e.contains(x, y - 1) || !e.contains(x, y + 1)))
                line[x] = colour;
    }
}

// Pixel-wise raster operations on pictures of one size; alpha stays opaque.
template <typename Op>
void combine(QImage& dst, const QImage& src, Op op)
{
    const int w = dst.width(), h = dst.height();
    for (int y = 0; y < h; ++y) {
        auto* d = reinterpret_cast<QRgb*>(dst.scanLine(y));
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x)
            d[x] = op(d[x], s[x]) | kBlack;
    }
}
void andWith(QImage& dst, const QImage& src) { combine(dst, src, [](QRgb d, QRgb s) { return d & s; }); }
void andNotWith(QImage& dst, const QImage& src) { combine(dst, src, [](QRgb d, QRgb s) { return d & ~s; }); }
void orWith(QImage& dst, const QImage& src) { combine(dst, src, [](QRgb d, QRgb s) { return d | s; }); }

// A bevel ring: a thick brush walked round the first quadrant of an ellipse
// inset by `inset`, mirrored into the other three, each pixel shaded as a
// 45-degree slope facing away from (lowered) or toward (raised) the centre.
void drawRing(QImage& image, long long inset, int bevelWidth, bool raised)
{
    const int width = image.width(), height = image.height();
    const double a = (width - 2.0 * double(inset) - 1) / 2;
    const double b = (height - 2.0 * double(inset) - 1) / 2;
    const double cx = double(inset) + a, cy = double(inset) + b;
    const double r = std::ceil(bevelWidth / 2.0) + 1;
    const double sigma = raised ? 1 : -1;

    // The brush covers most pixels many times over; mark them first and
    // shade each once, since its grey depends only on where it is.
    std::vector<char> covered(std::size_t(width) * std::size_t(height), 0);
    auto put = [&](double px, double py) {
        if (px >= 0 && py >= 0 && px < width && py < height)
            covered[std::size_t(py) * std::size_t(width) + std::size_t(px)] = 1;
    };
    auto plot = [&](double px, double py) {
        const double x = std::nearbyint(px), y = std::nearbyint(py);
        // An offset larger than the picture puts all four mirrors outside it,
        // so a huge bevel width costs no more than the picture's size.
        const double iFirst = std::max(x - r, -double(width)), iLast = std::min(x + r, double(width));
        const double jFirst = std::max(y - r, -double(height)), jLast = std::min(y + r, double(height));
        for (double j = jFirst; j <= jLast; ++j)
            for (double i = iFirst; i <= iLast; ++i) {
                put(std::ceil(cx + i), std::ceil(cy - j));
                put(std::ceil(cx + i), std::floor(cy + j));
                put(std::floor(cx - i), std::floor(cy + j));
                put(std::floor(cx - i), std::ceil(cy - j));
            }
    };

    // The midpoint ellipse walk, in real numbers since the semi-axes may be halves.
    const double a2 = a * a, b2 = b * b;
    double x = 0, y = b;
    double d1 = b2 - a2 * b + a2 / 4;
    double d2 = 0;
    for (;;) {
        plot(x, y);
        if (b2 * (x + 1) >= a2 * (y - 0.5)) {
            d2 = b2 * (x + 0.5) * (x + 0.5) + a2 * (y - 1) * (y - 1) - a2 * b2;
            break;
        }
        if (d1 < 0) {
            d1 += b2 * (2 * x + 3);
        } else {
            d1 += b2 * (2 * x + 3) + a2 * (2 - 2 * y);
            y -= 1;
        }
        x += 1;
    }
    while (y > 0) {
        if (d2 >= 0) {
            d2 += a2 * (3 - 2 * y);
        } else {
            d2 += b2 * (2 * x + 2) + a2 * (3 - 2 * y);
            x += 1;
        }
        y -= 1;
        plot(x, y);
    }

    for (int py = 0; py < height; ++py) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < width; ++px) {
            if (!covered[std::size_t(py) * std::size_t(width) + std::size_t(px)])
                continue;
            const double X = px - cx, Y = py - cy;
            const double rho = std::sqrt(X * X + Y * Y);
            // At the very centre the slope has no direction: it is lit as flat ground.
            const double facing = rho == 0 ? 1 : 1 / std::numbers::sqrt2 - sigma * (X + Y) / (std::numbers::sqrt2 * rho);
            const int v = toByte(128 + std::nearbyint(128 * kLight * facing));
            line[px] = qRgb(v, v, v);
        }
    }
}

QRgb shaded(QRgb c, double s)
{
    auto part = [s](int v) { return toByte(v + std::nearbyint(v * s)); };
    return qRgb(part(qRed(c)), part(qGreen(c)), part(qBlue(c)));
}

// The picture with the mask in its alpha: transparent where the mask is white.
QImage withMask(const QImage& picture, const QImage& mask)
{
    QImage out(picture.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        const auto* p = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < out.width(); ++x)
            d[x] = isWhite(m[x]) ? 0 : (p[x] | kBlack);
    }
    return out;
}

// The pixel under the mouse; a fractional position belongs to the pixel it lies in.
QPoint pointOf(const QMouseEvent* e)
{
    return {int(std::floor(e->position().x())), int(std::floor(e->position().y()))};
}

} // namespace

THemisphereButton::THemisphereButton(QWidget* parent)
    : QWidget(parent)
    , m_fontColor(look::windowText())
{
    // Mouse moves are reported with no button held too.
    setMouseTracking(true);
    resize(25, 25);
}

void THemisphereButton::lookChanged()
{
    BuildImages();
    update();
}

void THemisphereButton::setAllowAllUp(bool on)
{
    if (on == m_allowAllUp)
        return;
    if (m_groupIndex == 0) {
        m_allowAllUp = on;
        return;
    }
    for (THemisphereButton* b : groupMembers())
        b->m_allowAllUp = on;
}

void THemisphereButton::setAttenControl(double value)
{
    if (value != m_attenControl) {
        m_attenControl = value;
        lookChanged();
    }
}

void THemisphereButton::setBevelInner(THemisphereBevel bevel)
{
    if (bevel != m_bevelInner) {
        m_bevelInner = bevel;
        lookChanged();
    }
}

void THemisphereButton::setBevelOuter(THemisphereBevel bevel)
{
    if (bevel != m_bevelOuter) {
        m_bevelOuter = bevel;
        lookChanged();
    }
}

void THemisphereButton::setBevelWidth(int width)
{
    if (width > 0 && width != m_bevelWidth) {
        m_bevelWidth = width;
        lookChanged();
    }
}

void THemisphereButton::setBorderColor(const QColor& color)
{
    if (color != m_borderColor) {
        m_borderColor = color;
        lookChanged();
    }
}

void THemisphereButton::setBorderStyle(THemisphereBorder style)
{
    if (style != m_borderStyle) {
        m_borderStyle = style;
        lookChanged();
    }
}

void THemisphereButton::setCaption(const QString& caption)
{
    if (caption != m_caption) {
        m_caption = caption;
        lookChanged();
    }
}

void THemisphereButton::setDown(bool down)
{
    if (down != m_down) {
        m_down = down;
        repaint();
    }
}

void THemisphereButton::setFaceColor(const QColor& color)
{
    if (color.red() == m_faceRed && color.green() == m_faceGreen && color.blue() == m_faceBlue)
        return;
    m_faceRed = color.red();
    m_faceGreen = color.green();
    m_faceBlue = color.blue();
    lookChanged();
}

void THemisphereButton::setFaceShaded(bool on)
{
    if (on != m_faceShaded) {
        m_faceShaded = on;
        lookChanged();
    }
}

void THemisphereButton::setFaceTransparent(bool on)
{
    if (on != m_faceTransparent) {
        m_faceTransparent = on;
        lookChanged();
    }
}

void THemisphereButton::setFont(const QFont& font)
{
    const int builds = m_buildCount;
    QWidget::setFont(font);
    // A real change has already rebuilt through the font change event.
    if (m_buildCount == builds)
        lookChanged();
}

void THemisphereButton::setFontColor(const QColor& color)
{
    if (color != m_fontColor) {
        m_fontColor = color;
        lookChanged();
    }
}

void THemisphereButton::setGlyph(const QImage& glyph)
{
    if (glyph.isNull()) {
        if (m_glyph.isNull())
            return;
        m_glyph = QImage();
    } else {
        if (glyph.cacheKey() == m_glyph.cacheKey())
            return;
        m_glyph = glyph.convertToFormat(QImage::Format_RGB32);
        const int w = m_glyph.width(), h = m_glyph.height();
        m_numGlyphs = w % h == 0 ? w / h : 1;
        m_glyphIndex = 1;
    }
    lookChanged();
}

void THemisphereButton::setGlyphIndex(int index)
{
    if (index != m_glyphIndex && index > 0 && index <= m_numGlyphs) {
        m_glyphIndex = index;
        lookChanged();
    }
}

void THemisphereButton::setGlyphMapped(bool on)
{
    if (on != m_glyphMapped) {
        m_glyphMapped = on;
        lookChanged();
    }
}

void THemisphereButton::setGlyphShaded(bool on)
{
    if (on != m_glyphShaded) {
        m_glyphShaded = on;
        lookChanged();
    }
}

void THemisphereButton::setGlyphTransparent(bool on)
{
    if (on != m_glyphTransparent) {
        m_glyphTransparent = on;
        lookChanged();
    }
}

void THemisphereButton::setNumGlyphs(int count)
{
    // A count of 0 would divide the strip's width by zero.
    if (count > 0 && count != m_numGlyphs) {
        m_numGlyphs = count;
        lookChanged();
    }
}

void THemisphereButton::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
    // A hidden widget gets its resize event only when shown; build now.
    sizeChanged();
}

void THemisphereButton::sizeChanged()
{
    if (width() != m_builtWidth || height() != m_builtHeight) {
        BuildImages();
        m_builtWidth = width();
        m_builtHeight = height();
    }
}

int THemisphereButton::bevelCount() const
{
    return (m_bevelOuter != hbNone ? 1 : 0) + (m_bevelInner != hbNone ? 1 : 0);
}

bool THemisphereButton::PointInFace(int x, int y) const
{
    const double e = double(m_bevelWidth) * bevelCount();
    const double hw = width() / 2.0, hh = height() / 2.0;
    const double u = (x - hw) / (hw - e), v = (y - hh) / (hh - e);
    return u * u + v * v <= 1;
}

void THemisphereButton::BuildImages()
{
    const int W = width(), H = height();
    if (W < 2 || H < 2)
        return;
    const long long bw = m_bevelWidth;
    const bool outer = m_bevelOuter != hbNone, inner = m_bevelInner != hbNone;

    QImage faceMask = filled(W, H, kWhite);
    QImage outerRing = filled(W, H, kBlack);
    QImage innerRing = filled(W, H, kBlack);
    QImage faceOut = filled(W, H, kBlack);
    QImage faceIn = filled(W, H, kBlack);
    QImage mask = filled(W, H, kWhite);
    // Too big to allocate: keep the pictures there are.
    if (faceMask.isNull() || outerRing.isNull() || innerRing.isNull() || faceOut.isNull() || faceIn.isNull()
        || mask.isNull())
        return;

    fillEllipse(faceMask, outer || inner ? Ellipse{bw, bw, W - bw, H - bw} : Ellipse{0, 0, W, H}, kBlack);
    QImage innerFaceMask = faceMask;
    if (outer && inner) {
        innerFaceMask = filled(W, H, kWhite);
        fillEllipse(innerFaceMask, Ellipse{2 * bw, 2 * bw, W - 2 * bw, H - 2 * bw}, kBlack);
    }
    fillEllipse(mask, Ellipse{0, 0, W, H}, kBlack);

    int nb = 0;
    if (outer) {
        nb = 1;
        drawRing(outerRing, bw / 2, m_bevelWidth, m_bevelOuter == hbRaised);
        andWith(outerRing, faceMask);
        if (inner) {
            nb = 2;
            drawRing(innerRing, (3 * bw + 1) / 2, m_bevelWidth, m_bevelInner == hbRaised);
            andWith(innerRing, innerFaceMask);
            andNotWith(innerRing, faceMask);
        }
    } else if (inner) {
        nb = 1;
        drawRing(outerRing, (bw + 1) / 2, m_bevelWidth, m_bevelInner == hbRaised);
        andWith(outerRing, faceMask);
    }

    shadeFace(faceOut, faceIn, innerFaceMask, mask, nb);
    drawCaption(faceOut, faceIn, mask);

    if (nb > 0) {
        andNotWith(faceOut, innerFaceMask);
        andNotWith(faceIn, innerFaceMask);
        orWith(faceOut, outerRing);
        orWith(faceIn, outerRing);
    }
    if (nb > 1) {
        orWith(faceOut, innerRing);
        orWith(faceIn, innerRing);
    }
    if (m_borderStyle == hbsSingle) {
        const long long e = nb * bw;
        const Ellipse border{e, e, W - e, H - e};
        outlineEllipse(faceOut, border, m_borderColor.rgb() | kBlack);
        outlineEllipse(faceIn, border, m_borderColor.rgb() | kBlack);
    }

    m_imageOut = faceOut;
    m_imageIn = faceIn;
    m_imageMask = mask;
    m_paintOut = withMask(faceOut, mask);
    m_paintIn = withMask(faceIn, mask);
    // A look change while hidden builds at the new size already, so the
    // resize event that showing delivers later need not build again.
    m_builtWidth = W;
    m_builtHeight = H;
    ++m_buildCount;
}

void THemisphereButton::shadeFace(QImage& out, QImage& in, const QImage& innerFaceMask, QImage& mask, int nb) const
{
    const int W = out.width(), H = out.height();
    // The profile spans the face but is measured against the control's own
    // half-sizes, so the dome's rim never falls to z = 0 inside the bevels.
    const double fw = W - double(nb) * m_bevelWidth, fh = H - double(nb) * m_bevelWidth;
    const double hw = W / 2.0, hh = H / 2.0;
    const QRgb face = qRgb(m_faceRed, m_faceGreen, m_faceBlue);

    const bool hasGlyph = !m_glyph.isNull();
    const int gh = hasGlyph ? m_glyph.height() : 0;
    const int gw = hasGlyph ? m_glyph.width() / m_numGlyphs : 0;
    const long long gx0 = (m_glyphIndex - 1LL) * gw;
    const QRgb key = hasGlyph ? m_glyph.pixel(0, gh - 1) & 0xffffff : 0;

    auto paint = [&](double fx, double fy, double p, double q, double z) {
        if (fx < 0 || fy < 0 || fx >= W || fy >= H)
            return;
        const int x = int(fx), y = int(fy);
        QRgb base = face;
        bool glyphPixel = false;
        if (hasGlyph) {
            double gx, gy;
            if (m_glyphMapped) {
                gx = std::floor(std::atan2(z, -p) * (gw - 1) / std::numbers::pi);
                gy = std::floor(std::atan2(z, -q) * (gh - 1) / std::numbers::pi);
            } else {
                gx = std::floor(gw / 2.0 + x - hw);
                gy = std::floor(gh / 2.0 + y - hh);
            }
            // A GlyphIndex left beyond a strip whose NumGlyphs shrank reads nothing.
            if (gx >= 0 && gx < gw && gy >= 0 && gy < gh && gx0 + gx < m_glyph.width()) {
                const QRgb g = m_glyph.pixel(int(gx0 + gx), int(gy));
                if (!(m_glyphTransparent && (g & 0xffffff) == key)) {
                    base = g;
                    glyphPixel = true;
                }
            }
        }
        if (!glyphPixel && m_faceTransparent) {
            if (!isWhite(innerFaceMask.pixel(x, y)))
                mask.setPixel(x, y, kWhite);
            return;
        }
        if (glyphPixel ? m_glyphShaded : m_faceShaded) {
            const double s = kLight * (z - p - q) * m_attenControl;
            out.setPixel(x, y, shaded(base, s));
            in.setPixel(x, y, shaded(base, -s));
        } else {
            out.setPixel(x, y, base | kBlack);
            in.setPixel(x, y, base | kBlack);
        }
    };

    for (double yi = 0; yi <= std::floor(fh / 2); ++yi) {
        const double v = yi / hh;
        const double m = std::ceil(std::sqrt(1 - v * v) * fw / 2);
        if (m <= 1)
            continue;
        for (double xi = 0; xi <= m; ++xi) {
            const double u = xi / hw;
            const double z = 1 - std::sqrt(u * u + v * v);
            paint(std::ceil(hw + xi), std::floor(hh - yi), u, -v, z);
            paint(std::ceil(hw + xi), std::ceil(hh + yi), u, v, z);
            paint(std::floor(hw - xi), std::ceil(hh + yi), -u, v, z);
            paint(std::floor(hw - xi), std::floor(hh - yi), -u, -v, z);
        }
    }
}

void THemisphereButton::drawCaption(QImage& out, QImage& in, QImage& mask) const
{
    if (m_caption.isEmpty())
        return;
    QFont f = font();
    // Over a transparent face the mask decides which letter pixels show, and
    // it can only say yes or no: unsmoothed letters cover exactly those pixels.
    if (m_faceTransparent)
        f.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics fm(f, &out);
    const int x = int(std::nearbyint((out.width() - fm.horizontalAdvance(m_caption) - 2) / 2.0));
    const int y = int(std::nearbyint((out.height() - fm.height() - 2) / 2.0));
    auto draw = [&](QImage& image, const QColor& colour) {
        QPainter p(&image);
        p.setFont(f);
        p.setPen(colour);
        p.drawText(QPoint(x, y + fm.ascent()), m_caption);
    };
    draw(out, m_fontColor);
    draw(in, m_fontColor);
    if (m_faceTransparent)
        draw(mask, Qt::black);
}

void THemisphereButton::paintEvent(QPaintEvent*)
{
    // Nothing but this: the look does not follow the enabled state. On a
    // scaled display the picture is drawn as pixel art, so the lamp stays
    // round and its shading even.
    QPainter p(this);
    pixelart::draw(p, QPointF(0, 0), m_down ? m_paintIn : m_paintOut);
}

void THemisphereButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    sizeChanged();
}

void THemisphereButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        lookChanged();
}

QList<THemisphereButton*> THemisphereButton::groupMembers() const
{
    // The window plays the part of the owner: buttons on different panels of
    // one window still form one group.
    QList<THemisphereButton*> all = window()->findChildren<THemisphereButton*>();
    auto* self = const_cast<THemisphereButton*>(this);
    if (!all.contains(self))
        all.append(self);
    all.removeIf([this](const THemisphereButton* b) { return b->m_groupIndex != m_groupIndex; });
    return all;
}

void THemisphereButton::mousePressEvent(QMouseEvent* event)
{
    press(event, false);
}

void THemisphereButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt sends a double click as press, release, double click, release: the
    // double click is the second press and counts as one.
    press(event, true);
}

void THemisphereButton::press(QMouseEvent* event, bool doubleClick)
{
    // Kept even when ignored, so the panel beneath is not pressed instead.
    event->accept();
    const QPoint pt = pointOf(event);
    if (!isEnabled() || !PointInFace(pt.x(), pt.y()))
        return;
    QPointer<THemisphereButton> self(this);
    emit mouseDown(event->button(), event->modifiers(), pt.x(), pt.y());
    if (!self || event->button() != Qt::LeftButton)
        return;
    // A press while the button is already held (no release between) keeps
    // the Down it found at the first one, or a push button would stick.
    if (!m_tracking) {
        m_tracking = true;
        m_savedDown = m_down;
    }
    setDown(true);
    if (doubleClick)
        emit doubleClicked();
}

void THemisphereButton::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint pt = pointOf(event);
    if (m_tracking && !m_savedDown)
        setDown(PointInFace(pt.x(), pt.y()));
    emit mouseMove(event->buttons(), event->modifiers(), pt.x(), pt.y());
}

void THemisphereButton::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint pt = pointOf(event);
    QPointer<THemisphereButton> self(this);
    if (event->button() == Qt::LeftButton && m_tracking) {
        m_tracking = false;
        const bool inFace = PointInFace(pt.x(), pt.y());
        // A release may come with no move to where it happens (a synthetic
        // event, a pointer that jumped); let Down catch up as a move would,
        // or a push button released off its face would stay down.
        if (!m_savedDown)
            setDown(inFace);
        if (inFace) {
            emit clicked();
            if (!self)
                return;
            if (m_groupIndex == 0) {
                setDown(false);
            } else if (m_allowAllUp || !m_savedDown) {
                for (THemisphereButton* b : groupMembers())
                    if (b != this)
                        b->setDown(false);
                setDown(!m_savedDown);
            }
        }
    }
    emit mouseUp(event->button(), event->modifiers(), pt.x(), pt.y());
}
