// The flat speed button. Every paint composes the whole button in one kept
// off-screen image (parent picture, frame, glyph, caption) and copies it in a
// single draw, so hot tracking over the wallpaper never flickers.
#include "tflatspeedbutton.h"

#include "accessibility.h"
#include "look.h"
#include "pixelart.h"
#include "tpanel.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QToolTip>
#include <QtMath>

#include <optional>

namespace {

constexpr int kMaxCaption = 255;

// The pixel under the mouse; a fractional position belongs to the pixel it lies in.
QPoint pointOf(const QMouseEvent* e)
{
    return {qFloor(e->position().x()), qFloor(e->position().y())};
}

// A dotted frame of black and white dots just inside a rectangle, seen on
// any background; each dot a square of whole device pixels.
void drawFocusDots(QPainter& p, const QRect& logical)
{
    const bool unscaled = pixelart::isUnscaled(p);
    const QRect r = unscaled ? logical : pixelart::deviceRect(p, logical);
    const int dot = unscaled ? 1 : pixelart::lineWidth(pixelart::scaleOf(p));
    std::optional<pixelart::DeviceScope> scope;
    if (!unscaled)
        scope.emplace(p);
    auto put = [&](int x, int y) { p.fillRect(x, y, dot, dot, ((x + y) / dot) % 2 ? Qt::white : Qt::black); };
    for (int x = r.left(); x + dot <= r.right() + 1; x += dot) {
        put(x, r.top());
        put(x, r.bottom() + 1 - dot);
    }
    for (int y = r.top() + dot; y + 2 * dot <= r.bottom() + 1; y += dot) {
        put(r.left(), y);
        put(r.right() + 1 - dot, y);
    }
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

TFlatSpeedButton::TFlatSpeedButton(QWidget* parent)
    : QWidget(parent)
    , m_glyph([this] { update(); })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A Tab stop, but a click leaves the keyboard where it was: a mouse
    // player's next keys still go to the board.
    setFocusPolicy(Qt::TabFocus);
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
    accessibility::nameChanged(this);
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
    case QEvent::WindowActivate:
        // A modal dialog that opened over the button took the leave event
        // with it; back in an active window, look where the mouse is now.
        updateHotTracking();
        break;
    case QEvent::ToolTipChange:
        // A button without a caption is read by its hint.
        accessibility::nameChanged(this);
        break;
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

void TFlatSpeedButton::keyPressEvent(QKeyEvent* e)
{
    const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const int key = e->key();
    if (!plain || (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)) {
        if (!m_focusShown) {
            m_focusShown = true;
            update();
        }
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    m_focusShown = true;
    update();
    // A held key is one press, as a held mouse button is one click.
    if (!e->isAutoRepeat() && isEnabled())
        click();
}

void TFlatSpeedButton::focusInEvent(QFocusEvent* e)
{
    const Qt::FocusReason reason = e->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        m_focusShown = true;
    update();
    QWidget::focusInEvent(e);
}

void TFlatSpeedButton::focusOutEvent(QFocusEvent* e)
{
    const Qt::FocusReason reason = e->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        m_focusShown = false;
    update();
    QWidget::focusOutEvent(e);
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
    TFrames frames(p, r);
    if (!pressed) {
        if (newStyle && !m_flat) {
            frames.draw(highlight, frame);
            frames.draw(face, shadow);
        } else if (newStyle) {
            frames.draw(highlight, shadow);
        } else if (!m_flat) {
            frames.draw(frame, frame);
            frames.draw(highlight, shadow);
        } else {
            frames.draw(highlight, frame);
        }
    } else {
        if (newStyle && !m_flat) {
            frames.draw(frame, highlight);
            frames.draw(shadow, face);
        } else if (!newStyle && !m_flat) {
            frames.draw(frame, frame);
            frames.drawTopLeft(shadow);
        } else {
            frames.draw(frame, highlight);
        }
    }
    r = frames.inner().adjusted(1, 1, -1, -1);
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

    // The picture holds exactly the device pixels the button covers. Its
    // painter keeps the fraction of a device pixel by which the button's
    // corner lies off the device grid, so that the parent's tiles, the
    // frames and the glyph land on the same device pixels as they would on
    // the window itself.
    QPainter out(this);
    const qreal scale = pixelart::scaleOf(out);
    const QRect device = pixelart::deviceRect(out, rect());
    if (m_image.size() != device.size()) {
        m_image = QImage(device.size(), QImage::Format_ARGB32_Premultiplied);
        // Fonts sized in points come out as on the screen.
        m_image.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        m_image.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    }
    if (m_image.isNull())
        return;
    m_image.setDevicePixelRatio(scale);
    m_image.fill(look::btnFace());

    QPainter p(&m_image);
    const QTransform onWindow = out.deviceTransform();
    p.translate((onWindow.dx() - device.left()) / scale, (onWindow.dy() - device.top()) / scale);
    p.setFont(font());
    if (m_transparent)
        paintParentBackground(p);

    const bool pressed = m_state == TFlatButtonState::Pressed || m_state == TFlatButtonState::Exclusive;
    QRect content = rect();
    if (!(paintState == TFlatButtonState::Inactive && m_state != TFlatButtonState::Exclusive))
        drawFrame(p, content, pressed);
    if (pressed)
        content.translate(1, 1);
    if (m_state == TFlatButtonState::Exclusive && !m_flat) {
        const QRect area = content.adjusted(0, 0, -1, -1);
        if (pixelart::isUnscaled(p)) {
            p.fillRect(area, QBrush(checkerboard()));
        } else {
            // Each square of the pattern as wide as a frame line.
            const QRect d = pixelart::deviceRect(p, area);
            const QImage pattern = pixelart::enlarged(checkerboard(), pixelart::lineWidth(scale));
            pixelart::DeviceScope scope(p);
            p.setBrushOrigin(0, 0);
            p.fillRect(d, QBrush(pattern));
        }
    }

    const TFlatButtonState imageState =
        m_state != TFlatButtonState::Disabled && m_grayedInactive ? paintState : m_state;
    m_glyph.draw(p, content, shownCaption(m_caption), palette().color(QPalette::ButtonText), m_layout, m_margin,
                 m_spacing, imageState, m_markDropDown && m_menu);
    if (m_focusShown && hasFocus())
        drawFocusDots(p, rect().adjusted(3, 3, -3, -3));
    p.end();

    m_image.setDevicePixelRatio(1);
    pixelart::DeviceScope scope(out);
    out.drawImage(device.topLeft(), m_image);
}
