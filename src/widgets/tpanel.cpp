// Bevelled panels. The wallpaper tiles start at the inner rectangle's corner
// and the last row and column are cut off there, so the bevel stays visible.
#include "tpanel.h"

#include "look.h"

#include <QMouseEvent>
#include <QPainter>

void frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width)
{
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
        p.fillRect(QRect(l, t, r.width() - 1, 1), topLeft);           // top, without the top-right corner
        p.fillRect(QRect(l, t, 1, r.height() - 1), topLeft);          // left, without the bottom-left corner
        p.fillRect(QRect(rt, t, 1, r.height()), bottomRight);         // right
        p.fillRect(QRect(l, b, r.width(), 1), bottomRight);           // bottom
        r.adjust(1, 1, -1, -1);
    }
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
    QRect r = rect();
    if (m_borderSingle) {
        // The sunken single border of a windowed control: shadow and frame
        // colours outside, highlight and face inside.
        frame3D(p, r, look::btnShadow(), look::btnHighlight());
        frame3D(p, r, look::windowFrame(), look::btnFace());
    }
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        const bool raised = cut == bvRaised;
        frame3D(p, r, raised ? look::btnHighlight() : look::btnShadow(),
                raised ? look::btnShadow() : look::btnHighlight(), m_bevelWidth);
    };
    bevel(m_bevelOuter);
    if (m_borderWidth > 0)
        frame3D(p, r, m_color, m_color, m_borderWidth);
    bevel(m_bevelInner);
    p.fillRect(r, m_color);
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
    m_tile = picture.isNull() ? QPixmap() : QPixmap::fromImage(picture);
    update();
}

void TWallpaper::paintBackground(QPainter& p) const
{
    const QRect inner = paintPanel(p);
    if (m_tile.isNull() || m_tile.width() <= 0 || m_tile.height() <= 0)
        return;
    const int b = frameWidth();
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

const QImage& TWallpaper::sharedTile()
{
    static const QImage tile(QStringLiteral(":/images/wallpaper.bmp"));
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
    QRect r = rect();
    const bool raised = m_style == bvRaised;
    frame3D(p, r, raised ? look::btnHighlight() : look::btnShadow(), raised ? look::btnShadow() : look::btnHighlight());
}
