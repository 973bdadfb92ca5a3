// The glyph strip of a flat speed button: the state images made from it
// (embossed when disabled, mapped to the system greys when inactive), built
// once per state, and the layout of glyph, caption and drop-down mark.
#include "tflatbuttonglyph.h"

#include "look.h"
#include "pixelart.h"

#include <QPainter>

namespace {

constexpr QRgb kFuchsia = 0xffff00ff;
constexpr QRgb kNavy = 0x000080;

// Division by two truncated toward zero, as the layout rules are written.
int half(int v) { return v / 2; }

QRgb rgbOf(QRgb c) { return c & 0x00ffffff; }

int captionFlags(bool wordWrap)
{
    return Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic
        | (wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
}

// A downward triangle 7 pixels wide and 4 high; its top row is at y - 1.
void drawMark(QPainter& p, int x, int y, const QColor& color)
{
    if (pixelart::isUnscaled(p)) {
        for (int row = 0; row < 4; ++row)
            p.fillRect(QRect(x + row, y - 1 + row, 7 - 2 * row, 1), color);
        return;
    }
    QImage mark(7, 4, QImage::Format_ARGB32_Premultiplied);
    mark.fill(Qt::transparent);
    for (int row = 0; row < 4; ++row)
        for (int i = row; i < 7 - row; ++i)
            mark.setPixel(i, row, color.rgb());
    pixelart::draw(p, QPointF(x, y - 1), mark);
}

} // namespace

TFlatButtonGlyph::TFlatButtonGlyph(std::function<void()> changed)
    : m_transparent(kFuchsia)
    , m_changed(std::move(changed))
{
}

void TFlatButtonGlyph::setGlyph(const QImage& glyph)
{
    invalidate();
    m_glyph = glyph;
    if (m_glyph.isNull()) {
        m_transparent = kFuchsia;
    } else {
        m_transparent = m_glyph.pixel(0, m_glyph.height() - 1) | 0xff000000;
        if (m_glyph.width() % m_glyph.height() == 0) {
            const int n = m_glyph.width() / m_glyph.height();
            m_numGlyphs = n <= 5 ? n : 1;
        }
    }
    if (m_changed)
        m_changed();
}

void TFlatButtonGlyph::setNumGlyphs(int n)
{
    if (n <= 0)
        return;
    n = std::min(n, 5);
    if (n == m_numGlyphs)
        return;
    m_numGlyphs = n;
    invalidate();
    if (m_changed)
        m_changed();
}

QSize TFlatButtonGlyph::cellSize() const
{
    if (m_glyph.isNull())
        return {};
    return {m_glyph.width() / m_numGlyphs, m_glyph.height()};
}

void TFlatButtonGlyph::invalidate()
{
    for (QImage& image : m_cache)
        image = QImage();
}

const QImage& TFlatButtonGlyph::stateImage(TFlatButtonState state)
{
    if (state == TFlatButtonState::Pressed && m_numGlyphs < 3)
        state = TFlatButtonState::Up;
    QImage& slot = m_cache[static_cast<int>(state)];
    if (slot.isNull())
        slot = buildStateImage(state);
    return slot;
}

QImage TFlatButtonGlyph::buildStateImage(TFlatButtonState state) const
{
    const QSize cell = cellSize();
    if (cell.isEmpty())
        return {};
    const int index = static_cast<int>(state);
    const int source = index < m_numGlyphs ? index : 0;
    const QImage src = m_glyph.copy(source * cell.width(), 0, cell.width(), cell.height())
                           .convertToFormat(QImage::Format_ARGB32);
    const int w = cell.width(), h = cell.height();
    const QRgb transparent = rgbOf(m_transparent);

    QImage out;
    if (state == TFlatButtonState::Disabled && m_numGlyphs == 1) {
        // Embossed: only the black pixels survive, as a highlight copy one
        // pixel down-right under a shadow copy, on the button face.
        out = QImage(cell, QImage::Format_ARGB32);
        out.fill(look::btnFace());
        const QRgb highlight = look::btnHighlight().rgb();
        const QRgb shadow = look::btnShadow().rgb();
        auto ink = [&](int x, int y) {
            const QRgb c = src.pixel(x, y);
            return rgbOf(c) == 0 && qAlpha(c) != 0;
        };
        for (int y = 0; y + 1 < h; ++y)
            for (int x = 0; x + 1 < w; ++x)
                if (ink(x, y))
                    out.setPixel(x + 1, y + 1, highlight);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (ink(x, y))
                    out.setPixel(x, y, shadow);
    } else if (state == TFlatButtonState::Inactive && m_numGlyphs < 5) {
        // The two-tone look: black, white and the transparent colour stay,
        // navy turns black, dark colours go to shadow and light ones to face.
        out = src;
        const QRgb shadow = rgbOf(look::btnShadow().rgb());
        const QRgb face = rgbOf(look::btnFace().rgb());
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const QRgb c = rgbOf(line[x]);
                QRgb mapped;
                if (c == 0 || c == 0xffffff || c == transparent)
                    mapped = c;
                else if (c == kNavy)
                    mapped = 0;
                else
                    mapped = qRed(c) + qGreen(c) + qBlue(c) <= 384 ? shadow : face;
                line[x] = (line[x] & 0xff000000) | mapped;
            }
        }
    } else {
        out = src;
    }

    // Keyed after the image is made, so a pixel that ends up in the
    // transparent colour (a face pixel when that is the key) is left out too.
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            if (rgbOf(line[x]) == transparent)
                line[x] = 0;
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TFlatButtonPlacement TFlatButtonGlyph::place(QSize content, QSize glyphSize, QSize textSize, TButtonLayout layout,
                                             int margin, int spacing, bool mark)
{
    const int W = content.width(), H = content.height();
    const bool hasGlyph = !glyphSize.isEmpty();
    int gw = glyphSize.width(), gh = glyphSize.height();
    int tw = textSize.width();
    const int th = textSize.height();
    if (mark) {
        if (!hasGlyph || layout == blGlyphLeft)
            tw += 9;
        else
            gw += 6;
    }

    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    QPoint g, t;
    if (horizontal) {
        g.setY(half(H) - half(gh));
        t.setY(half(H) - half(th));
    } else {
        g.setX(half(W) - half(gw));
        t.setX(half(W) - half(tw));
    }

    int s = spacing, m = margin;
    if (tw == 0 || gw == 0)
        s = 0;
    const int L = horizontal ? W : H;
    const int glyphLen = horizontal ? gw : gh;
    const int textLen = horizontal ? tw : th;
    if (m == -1 && s == -1) {
        m = (L - (glyphLen + textLen)) / 3;
        s = m;
    } else if (m == -1) {
        m = half(L) - half(glyphLen + s + textLen);
    } else if (s == -1) {
        s = half(L - m - glyphLen) - half(textLen);
    }

    switch (layout) {
    case blGlyphLeft:
        g.setX(m);
        t.setX(m + gw + s);
        break;
    case blGlyphRight:
        g.setX(W - m - gw);
        t.setX(g.x() - s - tw);
        break;
    case blGlyphTop:
        g.setY(m);
        t.setY(m + gh + s);
        break;
    case blGlyphBottom:
        g.setY(H - m - gh);
        t.setY(g.y() - s - th);
        break;
    }
    return {g, QRect(t, textSize)};
}

void TFlatButtonGlyph::draw(QPainter& p, const QRect& content, const QString& caption, const QColor& textColor,
                            TButtonLayout layout, int margin, int spacing, TFlatButtonState state, bool mark)
{
    const int flags = captionFlags(m_wordWrap);
    QSize textSize(0, 0);
    if (!caption.isEmpty())
        textSize = p.fontMetrics().boundingRect(QRect(0, 0, content.width(), 0), flags, caption).size();
    const QSize cell = cellSize();
    const bool hasGlyph = !cell.isEmpty();

    TFlatButtonPlacement at = place(content.size(), hasGlyph ? cell : QSize(0, 0), textSize, layout, margin,
                                    spacing, mark);
    const QPoint glyphPos = at.glyph + content.topLeft();
    const QRect textRect = at.text.translated(content.topLeft());

    if (hasGlyph)
        pixelart::draw(p, glyphPos, stateImage(state));

    const bool disabled = state == TFlatButtonState::Disabled;
    if (!caption.isEmpty()) {
        if (disabled) {
            p.setPen(Qt::white);
            p.drawText(textRect.translated(1, 1), flags, caption);
            p.setPen(QColor(128, 128, 128));
        } else {
            p.setPen(textColor);
        }
        p.drawText(textRect, flags, caption);
    }

    if (mark) {
        int x, y;
        if (hasGlyph && layout != blGlyphLeft) {
            x = glyphPos.x() + cell.width() + 1;
            y = glyphPos.y() + half(cell.height());
        } else {
            x = textRect.left() + textRect.width() + 3;
            y = textRect.top() + half(textRect.height());
        }
        if (disabled) {
            drawMark(p, x + 1, y + 1, Qt::white);
            drawMark(p, x, y, look::btnShadow());
        } else {
            drawMark(p, x, y, look::btnText());
        }
    }
}
