// The caption buttons' faces and their press-drag-release logic. They are
// drawn straight onto their window's title bar, outside the bar's off-screen
// composition, so a press shows at once.
#include "tgradientcaptionbutton.h"

#include "look.h"
#include "pixelart.h"
#include "tpanel.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {

// The glyphs of the caption buttons, '#' for ink. Those of the full-size
// buttons are 9 rows high so they share one baseline when centred.
enum Glyph { gClose, gMinimize, gMaximize, gRestore, gHelp, gSmallClose, gCount };

const char* const kGlyphRows[gCount][9] = {
    {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##", "", ""},
    {"", "", "", "", "", "", "", "######", "######"},
    {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
     "#########"},
    {"..######", "..######", "..#....#", "######.#", "######.#", "#....###", "#....#..", "#....#..", "######.."},
    {"..####.", ".##..##", ".....##", "....##.", "...##..", "...##..", ".......", "...##..", "...##.."},
    {"##..##", ".####.", "..##..", ".####.", "##..##", "", "", "", ""},
};

int glyphHeight(Glyph g)
{
    return g == gSmallClose ? 5 : 9;
}

// Built once per glyph and colour.
const QImage& glyphImage(Glyph g, QRgb color)
{
    static QHash<quint64, QImage> cache;
    const quint64 key = (quint64(g) << 32) | color;
    auto it = cache.find(key);
    if (it != cache.end())
        return *it;
    int w = 0;
    for (int y = 0; y < glyphHeight(g); ++y)
        w = qMax(w, int(qstrlen(kGlyphRows[g][y])));
    QImage image(w, glyphHeight(g), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; kGlyphRows[g][y][x] != '\0'; ++x)
            if (kGlyphRows[g][y][x] == '#')
                image.setPixel(x, y, color | 0xff000000u);
    return *cache.insert(key, image);
}

} // namespace

TGradientCaptionButton::TGradientCaptionButton(TCaptionButtonKind kind, QWidget* window, QObject* parent)
    : QObject(parent)
    , m_kind(kind)
    , m_window(window)
{
}

void TGradientCaptionButton::setRect(const QRect& rect)
{
    m_rect = rect;
}

void TGradientCaptionButton::setVisible(bool visible)
{
    m_visible = visible;
}

void TGradientCaptionButton::setEnabled(bool enabled)
{
    m_enabled = enabled;
}

QRect TGradientCaptionButton::hitRect() const
{
    return m_rect.adjusted(0, -2, m_kind == cbClose ? 2 : 0, 2);
}

bool TGradientCaptionButton::hits(const QPoint& local) const
{
    return hitRect().contains(local + m_rect.topLeft());
}

void TGradientCaptionButton::mouseDown(Qt::MouseButton button, const QPoint&)
{
    if (button != Qt::LeftButton || !m_enabled)
        return;
    m_pressed = true;
    m_tracking = true;
    redraw();
}

void TGradientCaptionButton::mouseMove(const QPoint& local)
{
    if (!m_tracking)
        return;
    const bool inside = hits(local);
    if (inside != m_pressed) {
        m_pressed = inside;
        redraw();
    }
}

void TGradientCaptionButton::mouseUp(Qt::MouseButton button, const QPoint& local)
{
    if (button != Qt::LeftButton || !m_tracking)
        return;
    m_pressed = false;
    m_tracking = false;
    redraw();
    if (hits(local))
        emit clicked();
}

void TGradientCaptionButton::cancel()
{
    if (!m_tracking && !m_pressed)
        return;
    m_pressed = false;
    m_tracking = false;
    redraw();
}

void TGradientCaptionButton::redraw()
{
    m_window->update(m_rect);
}

void TGradientCaptionButton::paint(QPainter& p, bool restoreGlyph) const
{
    // The face first: on a scaled surface the frames may end short of the
    // logical inner edge, and the face fills what they leave.
    pixelart::fill(p, m_rect, look::btnFace());
    TFrames frames(p, m_rect);
    if (m_pressed) {
        frames.draw(look::windowFrame(), look::btnHighlight());
        frames.draw(look::btnShadow(), look::btnFace());
    } else {
        frames.draw(look::btnHighlight(), look::windowFrame());
        frames.draw(look::btnFace(), look::btnShadow());
    }

    Glyph g = gClose;
    switch (m_kind) {
    case cbClose: g = m_rect.height() < 14 ? gSmallClose : gClose; break;
    case cbMinimize: g = restoreGlyph ? gRestore : gMinimize; break;
    case cbMaximize: g = restoreGlyph ? gRestore : gMaximize; break;
    case cbHelp: g = gHelp; break;
    }
    const QImage& shape = glyphImage(g, 0);
    const QPoint at(m_rect.x() + (m_rect.width() - shape.width()) / 2,
                    m_rect.y() + (m_rect.height() - shape.height()) / 2);
    auto glyph = [&](const QColor& colour) { return glyphImage(g, colour.rgb() & 0xffffff); };
    if (pixelart::isUnscaled(p)) {
        const QPoint shown = m_pressed ? at + QPoint(1, 1) : at;
        p.save();
        p.setClipRect(m_rect.adjusted(2, 2, -2, -2));
        if (m_enabled) {
            p.drawImage(shown, glyph(look::btnText()));
        } else {
            // Greyed: a white copy one pixel down and right, the grey on top.
            p.drawImage(shown + QPoint(1, 1), glyph(look::btnHighlight()));
            p.drawImage(shown, glyph(look::btnShadow()));
        }
        p.restore();
        return;
    }
    // Scaled, the glyph's strokes are as wide as the frame's lines, and it is
    // centred where the unscaled one is; a press moves it by one line width.
    const qreal scale = pixelart::scaleOf(p);
    const int line = pixelart::lineWidth(scale);
    const QSize size = shape.size() * line;
    const QRect centre = pixelart::deviceRect(p, QRectF(at + QPointF(shape.width(), shape.height()) / 2, QSizeF()));
    QPoint shown = centre.topLeft() - QPoint(size.width() / 2, size.height() / 2);
    if (m_pressed)
        shown += QPoint(line, line);
    const QRect face = frames.innerDevice();
    pixelart::DeviceScope scope(p);
    p.setClipRect(face, Qt::IntersectClip);
    if (m_enabled) {
        p.drawImage(shown, pixelart::resized(glyph(look::btnText()), size));
    } else {
        p.drawImage(shown + QPoint(line, line), pixelart::resized(glyph(look::btnHighlight()), size));
        p.drawImage(shown, pixelart::resized(glyph(look::btnShadow()), size));
    }
}
