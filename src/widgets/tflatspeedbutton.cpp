// The flat speed button. Every paint composes the whole button in one kept
// off-screen image (parent picture, frame, glyph, caption) and copies it in a
// single draw, so hot tracking over the wallpaper never flickers.
#include "tflatspeedbutton.h"

#include "look.h"
#include "tpanel.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QToolTip>
#include <QtMath>

namespace {

constexpr int kMaxCaption = 255;
constexpr QRgb kFuchsia = 0xffff00ff;
constexpr QRgb kNavy = 0x000080;

// Division by two truncated toward zero, as the layout rules are written.
int half(int v) { return v / 2; }

QRgb rgbOf(QRgb c) { return c & 0x00ffffff; }

// The pixel under the mouse; a fractional position belongs to the pixel it lies in.
QPoint pointOf(const QMouseEvent* e)
{
    return {qFloor(e->position().x()), qFloor(e->position().y())};
}

int s_liveButtons = 0;
QImage* s_pattern = nullptr;

// The caption as drawn: at most 255 characters, never ending in half a
// surrogate pair.
QString shownCaption(const QString& caption)
{
    if (caption.size() <= kMaxCaption)
        return caption;
    int n = kMaxCaption;
    if (caption.at(n - 1).isHighSurrogate())
        --n;
    return caption.left(n);
}

int captionFlags(bool wordWrap)
{
    return Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic
        | (wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
}

// A downward triangle 7 pixels wide and 4 high; its top row is at y - 1.
void drawMark(QPainter& p, int x, int y, const QColor& color)
{
    for (int row = 0; row < 4; ++row)
        p.fillRect(QRect(x + row, y - 1 + row, 7 - 2 * row, 1), color);
}

// Watches the drop-down menu for the click that closes it. A click on the
// button itself must not press the button again once the menu is gone, so
// the menu is told not to replay it.
class MenuCloseWatcher : public QObject {
public:
    MenuCloseWatcher(QMenu* menu, QWidget* button)
        : m_menu(menu)
        , m_button(button)
    {
        m_menu->installEventFilter(this);
    }
    ~MenuCloseWatcher() override
    {
        if (m_menu) {
            m_menu->removeEventFilter(this);
            m_menu->setAttribute(Qt::WA_NoMouseReplay, false);
        }
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == m_menu && m_button
            && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)) {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint global = me->globalPosition().toPoint();
            const QRect buttonRect(m_button->mapToGlobal(QPoint(0, 0)), m_button->size());
            if (me->button() == Qt::LeftButton && buttonRect.contains(global)
                && !m_menu->geometry().contains(global))
                m_menu->setAttribute(Qt::WA_NoMouseReplay, true);
        }
        return false;
    }

private:
    QPointer<QMenu> m_menu;
    QPointer<QWidget> m_button;
};

} // namespace

// ---------------------------------------------------------------------------
// TFlatButtonGlyph

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
        p.drawImage(glyphPos, stateImage(state));

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

// ---------------------------------------------------------------------------
// TFlatSpeedButton

TFlatSpeedButton::TFlatSpeedButton(QWidget* parent)
    : QWidget(parent)
    , m_glyph([this] { update(); })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(25, 25);
    ++s_liveButtons;
}

TFlatSpeedButton::~TFlatSpeedButton()
{
    if (--s_liveButtons == 0) {
        delete s_pattern;
        s_pattern = nullptr;
    }
}

void TFlatSpeedButton::setGlyph(const QImage& glyph)
{
    m_glyph.setGlyph(glyph);
}

void TFlatSpeedButton::setNumGlyphs(int n)
{
    m_glyph.setNumGlyphs(n);
}

void TFlatSpeedButton::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    const QKeySequence accelerator = QKeySequence::mnemonic(caption);
    if (!accelerator.isEmpty())
        m_shortcutId = grabShortcut(accelerator);
    update();
}

void TFlatSpeedButton::setFlat(bool on)
{
    if (on != m_flat) {
        m_flat = on;
        update();
    }
}

void TFlatSpeedButton::setTransparent(bool on)
{
    if (on != m_transparent) {
        m_transparent = on;
        update();
    }
}

void TFlatSpeedButton::setGrayedInactive(bool on)
{
    if (on != m_grayedInactive) {
        m_grayedInactive = on;
        update();
    }
}

void TFlatSpeedButton::setLayout(TButtonLayout layout)
{
    if (layout != m_layout) {
        m_layout = layout;
        update();
    }
}

void TFlatSpeedButton::setMargin(int margin)
{
    if (margin < -1 || margin == m_margin)
        return;
    m_margin = margin;
    update();
}

void TFlatSpeedButton::setSpacing(int spacing)
{
    if (spacing != m_spacing) {
        m_spacing = spacing;
        update();
    }
}

void TFlatSpeedButton::setStyle(TButtonStyle style)
{
    if (style != m_style) {
        m_style = style;
        update();
    }
}

void TFlatSpeedButton::setGroupIndex(int index)
{
    m_groupIndex = index;
    // An ordinary push button is never down.
    if (index == 0 && m_down) {
        m_down = false;
        m_state = TFlatButtonState::Up;
        update();
    }
    announceToGroup();
}

void TFlatSpeedButton::setDown(bool down)
{
    if (m_groupIndex == 0 || down == m_down)
        return;
    if (m_down && !m_allowAllUp)
        return;
    m_down = down;
    m_state = down ? TFlatButtonState::Exclusive : TFlatButtonState::Up;
    update();
    if (down)
        announceToGroup();
}

void TFlatSpeedButton::setAllowAllUp(bool on)
{
    m_allowAllUp = on;
    announceToGroup();
}

void TFlatSpeedButton::setDropDownMenu(QMenu* menu)
{
    if (menu == m_menu)
        return;
    if (m_menu)
        disconnect(m_menu, &QObject::destroyed, this, nullptr);
    m_menu = menu;
    if (menu) {
        connect(menu, &QObject::destroyed, this, [this] {
            if (m_markDropDown)
                update();
        });
    }
    if (m_markDropDown)
        update();
}

void TFlatSpeedButton::setMarkDropDown(bool on)
{
    if (on != m_markDropDown) {
        m_markDropDown = on;
        update();
    }
}

void TFlatSpeedButton::setWordWrap(bool on)
{
    if (on != m_glyph.wordWrap()) {
        m_glyph.setWordWrap(on);
        update();
    }
}

void TFlatSpeedButton::click()
{
    emit clicked();
}

void TFlatSpeedButton::announceToGroup()
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    const QObjectList siblings = parent->children();
    for (QObject* child : siblings) {
        auto* button = qobject_cast<TFlatSpeedButton*>(child);
        if (button && button != this)
            button->groupButtonPressed(this);
    }
}

void TFlatSpeedButton::groupButtonPressed(const TFlatSpeedButton* sender)
{
    if (sender->m_groupIndex != m_groupIndex)
        return;
    if (sender->m_down && m_down) {
        m_down = false;
        m_state = TFlatButtonState::Up;
        update();
    }
    m_allowAllUp = sender->m_allowAllUp;
}

bool TFlatSpeedButton::inside(const QPoint& pos) const
{
    return pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height();
}

void TFlatSpeedButton::updateHotTracking()
{
    const bool hot = isEnabled() && QApplication::widgetAt(QCursor::pos()) == this;
    if (hot != m_hot) {
        m_hot = hot;
        if (m_flat)
            update();
    }
}

bool TFlatSpeedButton::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::Shortcut: {
        auto* se = static_cast<QShortcutEvent*>(e);
        if (se->shortcutId() == m_shortcutId) {
            if (isEnabled())
                click();
            return true;
        }
        break;
    }
    case QEvent::ToolTip:
        if (!m_showHint) {
            QToolTip::hideText();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void TFlatSpeedButton::changeEvent(QEvent* e)
{
    switch (e->type()) {
    case QEvent::EnabledChange:
        updateHotTracking();
        update();
        break;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        m_glyph.invalidate();
        update();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(e);
}

void TFlatSpeedButton::enterEvent(QEnterEvent* e)
{
    if (isEnabled() && !m_hot) {
        m_hot = true;
        if (m_flat)
            update();
    }
    QWidget::enterEvent(e);
}

void TFlatSpeedButton::leaveEvent(QEvent* e)
{
    if (isEnabled() && m_hot) {
        m_hot = false;
        if (m_flat)
            update();
    }
    QWidget::leaveEvent(e);
}

void TFlatSpeedButton::mousePressEvent(QMouseEvent* e)
{
    // Accepted whatever happens, so the press never reaches the panel below.
    e->accept();
    if (m_menuTracking)
        return;
    QPointer<TFlatSpeedButton> self(this);
    press(e->button(), pointOf(e));
    if (self && e->button() != Qt::LeftButton)
        updateHotTracking();
}

void TFlatSpeedButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    e->accept();
    if (m_menuTracking)
        return;
    if (e->button() != Qt::LeftButton) {
        mousePressEvent(e);
        return;
    }
    QPointer<TFlatSpeedButton> self(this);
    press(Qt::LeftButton, pointOf(e));
    if (self && m_down)
        emit doubleClicked();
}

void TFlatSpeedButton::press(Qt::MouseButton button, const QPoint& pos)
{
    if (isEnabled() && !m_hot) {
        // The first press on a button the mouse has not entered only wakes it.
        m_hot = true;
        update();
        return;
    }
    if (button != Qt::LeftButton || !isEnabled())
        return;
    if (!m_down) {
        m_state = TFlatButtonState::Pressed;
        repaint();
    }
    m_dragging = true;
    m_menuTracking = true;
    if (m_menu) {
        QPointer<TFlatSpeedButton> self(this);
        popupMenu(pos);
        if (!self)
            return;
    }
    m_menuTracking = false;
}

void TFlatSpeedButton::popupMenu(const QPoint& pressPoint)
{
    const QPoint at = mapToGlobal(QPoint(-1, height()));
    QPointer<TFlatSpeedButton> self(this);
    {
        MenuCloseWatcher watcher(m_menu, this);
        m_menu->exec(at);
    }
    if (!self)
        return;
    // The release went to the menu; finish the press here. No click follows
    // because the menu is still being tracked.
    release(Qt::LeftButton, pressPoint);
}

void TFlatSpeedButton::mouseMoveEvent(QMouseEvent* e)
{
    e->accept();
    if (!m_dragging)
        return;
    const QPoint pos(qFloor(e->position().x()), qFloor(e->position().y()));
    TFlatButtonState next = m_down ? TFlatButtonState::Exclusive : TFlatButtonState::Up;
    if (inside(pos))
        next = m_down ? TFlatButtonState::Exclusive : TFlatButtonState::Pressed;
    if (next != m_state) {
        m_state = next;
        update();
    }
}

void TFlatSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    release(e->button(), pointOf(e));
}

void TFlatSpeedButton::release(Qt::MouseButton button, const QPoint& pos)
{
    if (button == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        const bool in = inside(pos);
        m_state = TFlatButtonState::Up;
        if (m_groupIndex != 0) {
            if (in) {
                const bool refused = m_down && !m_allowAllUp;
                setDown(!m_down);
                if (refused)
                    m_state = TFlatButtonState::Exclusive;
            } else if (m_down) {
                m_state = TFlatButtonState::Exclusive;
            }
        }
        update();
        if (in && !m_menuTracking) {
            QPointer<TFlatSpeedButton> self(this);
            click();
            if (!self)
                return;
        }
    }
    updateHotTracking();
}

const QImage& TFlatSpeedButton::checkerboard()
{
    const QRgb face = look::btnFace().rgb();
    if (!s_pattern || s_pattern->pixel(1, 0) != face) {
        if (!s_pattern)
            s_pattern = new QImage(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                s_pattern->setPixel(x, y, (x + y) % 2 == 0 ? 0xffffffff : face);
    }
    return *s_pattern;
}

void TFlatSpeedButton::paintParentBackground(QPainter& p)
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    p.save();
    if (auto* panel = qobject_cast<TPanel*>(parent)) {
        p.translate(-pos());
        p.setClipRect(parent->rect());
        panel->paintBackground(p);
    } else {
        p.fillRect(rect(), parent->palette().color(parent->backgroundRole()));
    }
    p.restore();

    // Controls placed before this one lie under it; the ones after lie on
    // top and are painted over it by the toolkit.
    const QRect mine = geometry();
    const QObjectList siblings = parent->children();
    for (QObject* child : siblings) {
        if (child == this)
            break;
        auto* sibling = qobject_cast<QWidget*>(child);
        if (!sibling || sibling->isWindow() || !sibling->isVisibleTo(parent) || !sibling->geometry().intersects(mine))
            continue;
        sibling->render(&p, sibling->pos() - pos(), QRegion(sibling->rect()), QWidget::DrawChildren);
    }
}

void TFlatSpeedButton::drawFrame(QPainter& p, QRect& r, bool pressed) const
{
    const QColor highlight = look::btnHighlight();
    const QColor shadow = look::btnShadow();
    const QColor face = look::btnFace();
    const QColor frame = look::windowFrame();
    const bool newStyle = m_style != bsWin31;
    if (!pressed) {
        if (newStyle && !m_flat) {
            frame3D(p, r, highlight, frame);
            frame3D(p, r, face, shadow);
        } else if (newStyle) {
            frame3D(p, r, highlight, shadow);
        } else if (!m_flat) {
            frame3D(p, r, frame, frame);
            frame3D(p, r, highlight, shadow);
        } else {
            frame3D(p, r, highlight, frame);
        }
    } else {
        if (newStyle && !m_flat) {
            frame3D(p, r, frame, highlight);
            frame3D(p, r, shadow, face);
        } else if (!newStyle && !m_flat) {
            frame3D(p, r, frame, frame);
            p.fillRect(QRect(r.left(), r.top(), 1, r.height()), shadow);
            p.fillRect(QRect(r.left(), r.top(), r.width(), 1), shadow);
        } else {
            frame3D(p, r, frame, highlight);
        }
    }
    r.adjust(1, 1, -1, -1);
}

void TFlatSpeedButton::paintEvent(QPaintEvent*)
{
    if (!isEnabled()) {
        m_state = TFlatButtonState::Disabled;
        m_dragging = false;
    } else if (m_state == TFlatButtonState::Disabled) {
        m_state = m_down && m_groupIndex != 0 ? TFlatButtonState::Exclusive : TFlatButtonState::Up;
    }
    const TFlatButtonState paintState = m_flat && !m_hot ? TFlatButtonState::Inactive : m_state;

    const qreal dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (m_image.size() != pixels) {
        m_image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        // Fonts sized in points come out as on the screen.
        m_image.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        m_image.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    }
    m_image.setDevicePixelRatio(dpr);
    m_image.fill(look::btnFace());

    QPainter p(&m_image);
    p.setFont(font());
    if (m_transparent)
        paintParentBackground(p);

    const bool pressed = m_state == TFlatButtonState::Pressed || m_state == TFlatButtonState::Exclusive;
    QRect content = rect();
    if (!(paintState == TFlatButtonState::Inactive && m_state != TFlatButtonState::Exclusive))
        drawFrame(p, content, pressed);
    if (pressed)
        content.translate(1, 1);
    if (m_state == TFlatButtonState::Exclusive && !m_flat)
        p.fillRect(content.adjusted(0, 0, -1, -1), QBrush(checkerboard()));

    const TFlatButtonState imageState =
        m_state != TFlatButtonState::Disabled && m_grayedInactive ? paintState : m_state;
    m_glyph.draw(p, content, shownCaption(m_caption), palette().color(QPalette::ButtonText), m_layout, m_margin,
                 m_spacing, imageState, m_markDropDown && m_menu);
    p.end();

    QPainter(this).drawImage(0, 0, m_image);
}
