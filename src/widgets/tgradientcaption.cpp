// The gradient title bar. The window is frameless, so nothing of the window
// manager's is left to fall back on: the bar is painted inside the window's
// own paint event, right after the window has painted its frame, and mouse
// events that land on the bar are taken before the window sees them.
#include "tgradientcaption.h"

#include "errorreport.h"
#include "look.h"
#include "pixelart.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QWhatsThis>
#include <QWindow>

#include <cstdlib>

namespace {

// a·b/c rounded to the nearest integer, halves away from zero.
int mulDivRound(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const qint64 p = qint64(a) * b;
    const qint64 q = (std::llabs(p) * 2 + std::llabs(c)) / (2 * std::llabs(qint64(c)));
    return int((p < 0) != (c < 0) ? -q : q);
}

QRect fromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, qMax(0, right - left), qMax(0, bottom - top));
}

int rightEdge(const QRect& r) { return r.x() + r.width(); }
int bottomEdge(const QRect& r) { return r.y() + r.height(); }

qint64 nowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed() + 1; // never 0, which means "no stamp"
}

// Shown when neither the window nor the application has an icon: a small
// window with a navy title.
const QImage& defaultIcon()
{
    static const QImage icon = [] {
        QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.fillRect(1, 2, 14, 12, Qt::black);
        p.fillRect(2, 3, 12, 10, Qt::white);
        p.fillRect(2, 3, 12, 3, QColor(0, 0, 128));
        return img;
    }();
    return icon;
}

} // namespace

QWidget* TGradientCaption::requireForm(QObject* owner)
{
    auto* window = qobject_cast<QWidget*>(owner);
    if (!window || !dynamic_cast<TFrameOwner*>(owner))
        throw EError(QStringLiteral("The GradientCaption's owner must be a Form!"));
    return window;
}

TGradientCaption::TGradientCaption(QObject* owner)
    : QObject(requireForm(owner))
    , m_window(static_cast<QWidget*>(owner))
    , m_frame(dynamic_cast<TFrameOwner*>(owner))
{
    m_window->installEventFilter(this);
    const TCaptionButtonKind kinds[] = {cbClose, cbMinimize, cbMaximize, cbHelp};
    for (TCaptionButtonKind kind : kinds) {
        m_buttons[kind] = new TGradientCaptionButton(kind, m_window, this);
        connect(m_buttons[kind], &TGradientCaptionButton::clicked, this,
                errorreport::guard([this, kind] { buttonClicked(kind); }));
    }
    m_applicationNameFont = m_window->font();
    m_applicationNameFont.setBold(true);
    m_captionFont = m_window->font();
    m_captionFont.setBold(false);
    invalidate();
}

TGradientCaption::~TGradientCaption()
{
    // Both filters go before anything they watch is taken apart: a menu
    // being destroyed still sends events, and by then it is no QMenu.
    m_window->removeEventFilter(this);
    if (QMenu* menu = m_menu.data()) {
        menu->removeEventFilter(this);
        delete menu;
    }
    m_window->update();
}

void TGradientCaption::invalidate()
{
    // The whole strip: the bar's extent may have changed with the property.
    const TNonClientMetrics m = m_frame->nonClient();
    m_window->update(QRect(0, 0, m_window->width(), m.frame + m.caption));
}

#define CAPTION_SETTER(Setter, member, Type)                                                           \
    void TGradientCaption::Setter(const Type& v)                                                       \
    {                                                                                                  \
        if (v == member)                                                                               \
            return;                                                                                    \
        member = v;                                                                                    \
        invalidate();                                                                                  \
    }
CAPTION_SETTER(setActiveBeginColor, m_activeBeginColor, QColor)
CAPTION_SETTER(setActiveEndColor, m_activeEndColor, QColor)
CAPTION_SETTER(setActiveFontColor, m_activeFontColor, QColor)
CAPTION_SETTER(setInactiveBeginColor, m_inactiveBeginColor, QColor)
CAPTION_SETTER(setInactiveEndColor, m_inactiveEndColor, QColor)
CAPTION_SETTER(setInactiveFontColor, m_inactiveFontColor, QColor)
CAPTION_SETTER(setApplicationName, m_applicationName, QString)
#undef CAPTION_SETTER

void TGradientCaption::setApplicationNameFont(const QFont& font)
{
    m_applicationNameFont = font;
    invalidate();
}

void TGradientCaption::setCaptionFont(const QFont& font)
{
    m_captionFont = font;
    invalidate();
}

void TGradientCaption::setNumColors(int n)
{
    if (n == m_numColors)
        return;
    m_numColors = n;
    invalidate();
}

void TGradientCaption::setAutoSize(bool on)
{
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    invalidate();
}

TCaptionLayout TGradientCaption::layOut()
{
    constexpr int BW = TCaptionMetrics::buttonWidth;
    constexpr int BH = TCaptionMetrics::buttonHeight;
    const TBorderStyle style = m_frame->borderStyle();
    const TBorderIcons icons = m_frame->borderIcons();
    const bool systemMenu = icons & biSystemMenu;
    const bool tool = style == bsToolWindow || style == bsSizeToolWin;

    TCaptionLayout l;
    l.frame = TCaptionMetrics::frame(style, m_window->isMinimized());
    const int barHeight = qMax(0, TCaptionMetrics::captionHeight(style) - 1);
    const int top = l.frame, bottom = l.frame + barHeight;
    const int left = l.frame, right = qMax(left, m_window->width() - l.frame);
    l.bar = fromEdges(left, top, right, bottom);

    if (style != bsNone && systemMenu) {
        if (tool) {
            l.buttonSet = biSystemMenu;
        } else {
            l.buttonSet = icons;
            if (style == bsSingle || style == bsSizeable)
                l.buttonSet &= ~biHelp;
            if (style == bsDialog)
                l.buttonSet &= ~(biMinimize | biMaximize);
            if (l.buttonSet & (biMinimize | biMaximize))
                l.buttonSet |= biMinimize | biMaximize;
        }
    }

    const bool hasIcon = (style == bsSingle || style == bsSizeable) && systemMenu;
    l.icon = QRect(left, top, hasIcon ? BW : 0, barHeight);

    if (!systemMenu) {
        l.buttons = fromEdges(right, top + 2, right, bottom - 2);
    } else {
        int d = TCaptionMetrics::smallButtonWidth;
        if (!tool) {
            const int n = 1 + ((l.buttonSet & biMaximize) ? 1 : 0) + ((l.buttonSet & biMinimize) ? 1 : 0)
                + ((l.buttonSet & biHelp) ? 1 : 0);
            d = n * (BW - 2);
        }
        l.buttons = fromEdges(right - d - 2, top + 2, right, bottom - 2);
    }
    l.text = fromEdges(rightEdge(l.icon) + 2, top + 2, l.buttons.x() - 2, bottom - 2);

    TGradientCaptionButton* close = m_buttons[cbClose];
    if (l.buttonSet == 0) { // no system menu, or no bar at all
        for (TGradientCaptionButton* b : m_buttons)
            b->setVisible(false);
    } else if (tool) {
        close->setRect(QRect(l.buttons.x() + 2, top + 2, l.buttons.width() - 4, l.buttons.height()));
        close->setVisible(true);
    } else {
        const int w = BW - 2, h = BH - 4;
        close->setRect(QRect(right - BW, top + 2, w, h));
        close->setVisible(true);
        int next = close->rect().x() - 2;
        auto place = [&](TCaptionButtonKind kind, TBorderIcon icon, bool enabled) {
            TGradientCaptionButton* b = m_buttons[kind];
            if (!(l.buttonSet & icon)) {
                b->setVisible(false);
                return;
            }
            b->setRect(QRect(next - w, top + 2, w, h));
            b->setVisible(true);
            b->setEnabled(enabled);
            next = b->rect().x();
        };
        place(cbMaximize, biMaximize, icons & biMaximize);
        place(cbMinimize, biMinimize, icons & biMinimize);
        place(cbHelp, biHelp, true);
    }
    m_layout = l;
    return l;
}

void TGradientCaption::drawGradient(QPainter& p, const QRect& bar, const QColor& begin, const QColor& end) const
{
    const int n = m_numColors;
    if (n < 1)
        return;
    const int w = bar.width();
    for (int i = 0; i < n; ++i) {
        const int x0 = mulDivRound(i, w, n), x1 = mulDivRound(i + 1, w, n);
        if (x1 <= x0)
            continue;
        QColor c = begin;
        if (n >= 2) {
            c = QColor(begin.red() + mulDivRound(i, end.red() - begin.red(), n - 1),
                       begin.green() + mulDivRound(i, end.green() - begin.green(), n - 1),
                       begin.blue() + mulDivRound(i, end.blue() - begin.blue(), n - 1));
        }
        pixelart::fill(p, QRect(bar.x() + x0, bar.y(), x1 - x0, bar.height()), c);
    }
}

void TGradientCaption::drawIcon(QPainter& p, const QRect& area) const
{
    const QRect target(area.x() + 2, area.y() + 1, area.width() - 2, area.height() - 2);
    if (target.isEmpty())
        return;
    // QWidget::windowIcon() already falls back to the application's icon.
    const QIcon icon = m_window->windowIcon();
    if (pixelart::isUnscaled(p)) {
        if (icon.isNull())
            p.drawImage(target, defaultIcon());
        else
            p.drawPixmap(target, icon.pixmap(target.size(), 1.0));
        return;
    }
    const qreal scale = pixelart::scaleOf(p);
    const QImage picture = icon.isNull() ? defaultIcon() : icon.pixmap(target.size(), scale).toImage();
    pixelart::drawDevice(p, pixelart::deviceRect(p, target), picture);
}

void TGradientCaption::drawTexts(QPainter& p, const QRect& area, const QColor& color) const
{
    const int right = rightEdge(area);
    int x = area.x();
    p.setPen(color);
    auto draw = [&](const QString& text, QFont font) {
        if (m_autoSize)
            font.setPixelSize(qMax(1, area.height() - 5));
        p.setFont(font);
        const int room = right - x;
        if (room <= 0)
            return;
        const QString shown = p.fontMetrics().elidedText(text, Qt::ElideRight, room);
        p.drawText(QRect(x, area.y(), room, area.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   shown);
        x += p.fontMetrics().horizontalAdvance(shown);
    };
    if (!m_applicationName.isEmpty())
        draw(m_applicationName, m_applicationNameFont);
    draw(m_window->windowTitle(), m_captionFont);
}

QImage TGradientCaption::composeBar(bool active, qreal scale)
{
    const TCaptionLayout l = layOut();
    if (l.bar.isEmpty())
        return QImage();
    // In device pixels, so that text is drawn sharp and the bands and the
    // buttons' lines land on whole pixels.
    QImage image(pixelart::snap(rightEdge(l.bar) * scale), pixelart::snap(bottomEdge(l.bar) * scale),
                 QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(scale);
    // What shows where no band is drawn (NumColors below 1).
    image.fill(look::btnFace());
    QPainter p(&image);
    drawGradient(p, l.bar, active ? m_activeBeginColor : m_inactiveBeginColor,
                 active ? m_activeEndColor : m_inactiveEndColor);
    if (!l.icon.isEmpty())
        drawIcon(p, l.icon);
    drawTexts(p, l.text, active ? m_activeFontColor : m_inactiveFontColor);
    const bool minimized = m_window->isMinimized(), maximized = m_window->isMaximized();
    for (TCaptionButtonKind kind : {cbClose, cbMaximize, cbMinimize, cbHelp}) {
        const TGradientCaptionButton* b = m_buttons[kind];
        if (b->isVisible())
            b->paint(p, (kind == cbMinimize && minimized) || (kind == cbMaximize && maximized));
    }
    return image;
}

bool TGradientCaption::paintHook(QPaintEvent* event)
{
    // The window's own handling first (its frame), then the bar over it.
    static_cast<QObject*>(m_window)->event(event);
    const TCaptionLayout l = layOut();
    if (l.bar.isEmpty() || !event->region().intersects(l.bar))
        return true;
    QPainter p(m_window);
    QImage picture = composeBar(m_window->isActiveWindow(), pixelart::scaleOf(p));
    if (picture.isNull())
        return true;
    // The bar's pixels in the picture are the window's own device pixels.
    const QRect device = pixelart::deviceRect(p, l.bar);
    picture.setDevicePixelRatio(1);
    pixelart::DeviceScope scope(p);
    const QPoint windowOrigin = pixelart::deviceRect(p, QRectF()).topLeft();
    p.drawImage(device.topLeft(), picture, device.translated(-windowOrigin));
    return true;
}

bool TGradientCaption::eventFilter(QObject* watched, QEvent* event)
{
    if (m_menu && watched == m_menu) {
        // Presses that close the menu from outside: is this one on the icon?
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            const QRect icon(m_window->mapToGlobal(m_layout.icon.topLeft()), m_layout.icon.size());
            if (m_iconMenuClosing && !m_menu->geometry().contains(at) && icon.contains(at))
                m_iconPressClosedMenu = true;
        }
        return false;
    }
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Paint:
        return paintHook(static_cast<QPaintEvent*>(event));
    case QEvent::ActivationChange:
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
    case QEvent::WindowStateChange:
        invalidate();
        return false;
    case QEvent::Hide:
        for (TGradientCaptionButton* b : m_buttons)
            b->cancel();
        m_menuPending = false;
        m_dragFrom.reset();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return mouseHook(static_cast<QMouseEvent*>(event));
    default:
        return false;
    }
}

void TGradientCaption::forward(TGradientCaptionButton* b, QMouseEvent* event)
{
    const QPoint local = event->position().toPoint() - b->rect().topLeft();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a second press is still a press to a button
        b->mouseDown(event->button(), local);
        break;
    case QEvent::MouseMove:
        b->mouseMove(local);
        break;
    case QEvent::MouseButtonRelease:
        if (event->button() == Qt::RightButton)
            m_menuPending = false;
        b->mouseUp(event->button(), local);
        break;
    default:
        break;
    }
}

bool TGradientCaption::mouseHook(QMouseEvent* event)
{
    const QEvent::Type type = event->type();
    const QPoint pos = event->position().toPoint();
    const Qt::MouseButton button = event->button();
    const TCaptionLayout l = layOut();

    // A button that took a left press keeps the mouse until the release,
    // wherever it goes, so moving off and back on still acts.
    if (type == QEvent::MouseMove || type == QEvent::MouseButtonRelease) {
        for (TGradientCaptionButton* b : m_buttons) {
            if (b->isTracking()) {
                forward(b, event);
                return true;
            }
        }
    }

    // The drag is handed to the window manager only once the mouse has
    // moved as far as a double click may wander: once it has the mouse, the
    // second click of a double click would never reach us.
    if (m_dragFrom) {
        if (type == QEvent::MouseMove && (event->buttons() & Qt::LeftButton)) {
            const QPoint moved = event->globalPosition().toPoint() - *m_dragFrom;
            if (moved.manhattanLength() >= QGuiApplication::styleHints()->mouseDoubleClickDistance()) {
                m_dragFrom.reset();
                startMove();
            }
            return true;
        }
        if (type == QEvent::MouseButtonRelease && button == Qt::LeftButton)
            m_dragFrom.reset();
    }

    if (!l.bar.contains(pos)) {
        if (type == QEvent::MouseButtonRelease && button == Qt::RightButton)
            m_menuPending = false;
        return false;
    }

    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (press)
        bringToFront();

    for (TCaptionButtonKind kind : {cbClose, cbMaximize, cbMinimize, cbHelp}) {
        TGradientCaptionButton* b = m_buttons[kind];
        if (b->isVisible() && b->hitRect().contains(pos)) {
            forward(b, event);
            return true;
        }
    }

    if (button == Qt::LeftButton) {
        if (type == QEvent::MouseButtonDblClick && l.text.contains(pos)) {
            const TGradientCaptionButton* maximize = m_buttons[cbMaximize];
            if ((l.buttonSet & biMaximize) && maximize->isEnabled())
                toggleMaximized();
            return true;
        }
        if (press && l.icon.contains(pos)) {
            if (m_iconMenuClosing || type == QEvent::MouseButtonDblClick) {
                // The press that closed the menu, passed on to the window
                // after all: it must not open the menu again.
                closeOnSecondIconPress();
                return true;
            }
            m_iconStamp = nowMs();
            openWindowMenu(m_window->mapToGlobal(QPoint(l.frame, bottomEdge(l.bar))), true);
            return true;
        }
        if (press) {
            m_iconStamp = 0; // a new click, not the second half of one on the icon
            if (!m_window->isMaximized())
                m_dragFrom = event->globalPosition().toPoint();
            return true;
        }
        if (type == QEvent::MouseButtonRelease && m_iconStamp != 0) {
            const bool quick = nowMs() - m_iconStamp <= TCaptionMetrics::doubleClickTime();
            m_iconStamp = 0;
            if (quick)
                m_window->close();
            return true;
        }
        return false;
    }

    if (button == Qt::RightButton) {
        if (press && pos.x() < l.buttons.x()) {
            m_menuPending = true;
            return true;
        }
        if (type == QEvent::MouseButtonRelease && m_menuPending) {
            m_menuPending = false;
            openWindowMenu(event->globalPosition().toPoint(), false);
            return true;
        }
    }
    return false;
}

void TGradientCaption::bringToFront()
{
    // The headless test platform has no stacking order and warns about it.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        m_window->raise();
    m_window->activateWindow();
}

void TGradientCaption::startMove()
{
    // The window manager moves the window with the mouse; platforms
    // without that service (the headless one) just decline.
    if (QWindow* w = m_window->windowHandle())
        w->startSystemMove();
}

void TGradientCaption::toggleMaximized()
{
    if (m_window->isMaximized())
        m_frame->restore();
    else
        m_frame->maximize();
}

void TGradientCaption::buttonClicked(TCaptionButtonKind kind)
{
    switch (kind) {
    case cbClose:
        m_window->close();
        break;
    case cbMinimize:
        if (m_window->isMinimized())
            m_frame->restore();
        else
            m_window->showMinimized();
        break;
    case cbMaximize:
        toggleMaximized();
        break;
    case cbHelp:
        QWhatsThis::enterWhatsThisMode();
        break;
    }
}

QMenu* TGradientCaption::prepareWindowMenu()
{
    if (!m_menu) {
        m_menu = new QMenu(m_window);
        m_menu->setObjectName(QStringLiteral("WindowMenu"));
        m_menu->installEventFilter(this);
        m_restore = m_menu->addAction(QStringLiteral("&Восстановить"));
        m_move = m_menu->addAction(QStringLiteral("&Переместить"));
        m_size = m_menu->addAction(QStringLiteral("&Размер"));
        m_minimize = m_menu->addAction(QStringLiteral("&Свернуть"));
        m_maximize = m_menu->addAction(QStringLiteral("Р&азвернуть"));
        m_menu->addSeparator();
        // Only shown: the window manager already closes windows on Alt+F4.
        m_close = m_menu->addAction(QStringLiteral("&Закрыть\tAlt+F4"));
    }
    const TCaptionLayout l = layOut();
    for (QAction* a : {m_restore, m_move, m_size, m_minimize, m_maximize, m_close})
        a->setEnabled(true);
    QAction* byDefault = m_close;
    const bool maximized = m_window->isMaximized(), minimized = m_window->isMinimized();
    if (maximized || minimized) {
        byDefault = m_restore;
        m_size->setEnabled(false);
        m_move->setEnabled(false);
        if (maximized)
            m_maximize->setEnabled(false);
        if (minimized)
            m_minimize->setEnabled(false);
    } else {
        m_restore->setEnabled(false);
    }
    if (!(l.buttonSet & biMaximize) || !m_buttons[cbMaximize]->isEnabled())
        m_maximize->setEnabled(false);
    if (!(l.buttonSet & biMinimize) || !m_buttons[cbMinimize]->isEnabled())
        m_minimize->setEnabled(false);
    // Our windows keep a fixed size, so there is nothing to size.
    if (m_window->minimumSize() == m_window->maximumSize())
        m_size->setEnabled(false);
    m_menu->setDefaultAction(byDefault);
    return m_menu;
}

void TGradientCaption::openWindowMenu(const QPoint& globalPos, bool fromIcon)
{
    QMenu* menu = prepareWindowMenu();
    QPoint at = globalPos;
    if (fromIcon) {
        // Below the bar; where that does not fit, above it, never over it.
        const QScreen* screen = m_window->screen();
        const int height = menu->sizeHint().height();
        if (screen && at.y() + height > bottomEdge(screen->availableGeometry()))
            at.setY(m_window->mapToGlobal(QPoint(0, m_layout.bar.y())).y() - height);
    }
    QPointer<TGradientCaption> self(this);
    if (fromIcon) {
        m_iconMenuClosing = true;
        m_iconPressClosedMenu = false;
    }
    QAction* chosen = menu->exec(at);
    if (!self)
        return;
    if (fromIcon) {
        // Should the toolkit pass the press that closed the menu on to the
        // window, it arrives after exec() has returned; it is still the
        // closing press.
        QMetaObject::invokeMethod(
            this, [this] { m_iconMenuClosing = false; }, Qt::QueuedConnection);
        // A press on the icon while its menu is open goes to the menu and
        // its release is swallowed with it, so the second click of a double
        // click on the icon is caught here, at its press.
        if (m_iconPressClosedMenu && !chosen) {
            m_iconPressClosedMenu = false;
            if (closeOnSecondIconPress())
                return;
        }
    }
    if (chosen)
        runMenuCommand(chosen);
}

bool TGradientCaption::closeOnSecondIconPress()
{
    if (m_iconStamp == 0 || nowMs() - m_iconStamp > TCaptionMetrics::doubleClickTime())
        return false;
    m_iconStamp = 0;
    m_window->close();
    return true;
}

void TGradientCaption::runMenuCommand(QAction* action)
{
    QWindow* window = m_window->windowHandle();
    if (action == m_restore)
        m_frame->restore();
    else if (action == m_move && window)
        window->startSystemMove();
    else if (action == m_size && window)
        window->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
    else if (action == m_minimize)
        m_window->showMinimized();
    else if (action == m_maximize)
        m_frame->maximize();
    else if (action == m_close)
        m_window->close();
}
