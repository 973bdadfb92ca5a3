// The window base. The activation rule lives here once for all windows:
// a modeless window's FormActivate runs when it takes the focus from another
// modeless window of the program (or from none, after the last one was
// hidden); returning from a modal dialog or from another application leaves
// the last modeless window unchanged, so nothing runs. Modal windows run
// theirs once per showing.
// The windows are frameless: the frame is painted here and the title bar by
// GradientCaption1, so the window's size is exactly client + frame + bar +
// menu bar, and centring uses that size.
#include "tform.h"

#include "errorreport.h"
#include "look.h"
#include "pixelart.h"
#include "tgradientcaption.h"
#include "tpanel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace {
TForm* s_lastModeless = nullptr;
constexpr int kMenuBarHeight = 19;

// The title bar every window of the program shows.
void dressCaption(TGradientCaption& caption)
{
    caption.setActiveBeginColor(QColor(0, 0, 128));
    caption.setActiveEndColor(QColor(255, 0, 255));
    caption.setActiveFontColor(QColor(255, 255, 255));
    caption.setInactiveBeginColor(QColor(0, 0, 128));
    caption.setInactiveEndColor(QColor(255, 255, 255));
    caption.setInactiveFontColor(QColor(192, 192, 192));
    caption.setApplicationName(QString());
    caption.setApplicationNameFont(look::font(11, true));
    caption.setCaptionFont(look::font(11, true));
    caption.setNumColors(255);
    caption.setAutoSize(false);
}
} // namespace

TForm::TForm(const QString& name)
    : QWidget(nullptr)
{
    setObjectName(name);
    setAttribute(Qt::WA_QuitOnClose, false);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    // A click anywhere in the window takes the keyboard from a menu bar left
    // in its keyboard mode (by Esc out of a menu), so keys reach the window.
    m_client->setFocusPolicy(Qt::ClickFocus);
    Wallpaper1 = new TWallpaper(m_client);
    Wallpaper1->setObjectName(QStringLiteral("Wallpaper1"));
    Wallpaper1->setCaption(QStringLiteral("Wallpaper1"));
    Wallpaper1->setWallpaper(TWallpaper::sharedTile());
    applyWindowFlags();
    GradientCaption1 = new TGradientCaption(this);
    GradientCaption1->setObjectName(QStringLiteral("GradientCaption1"));
    dressCaption(*GradientCaption1);
    layoutNonClient();
}

TForm::~TForm()
{
    // The caption filters this window's events; it must go while the window
    // is still whole, not among the children QWidget deletes later.
    delete GradientCaption1;
    GradientCaption1 = nullptr;
    if (s_lastModeless == this)
        s_lastModeless = nullptr;
}

TForm* TForm::lastActiveModeless()
{
    return s_lastModeless;
}

TNonClientMetrics TForm::nonClient() const
{
    TNonClientMetrics m;
    m.frame = TCaptionMetrics::frame(m_borderStyle);
    m.caption = TCaptionMetrics::captionHeight(m_borderStyle);
    m.menu = m_menuBar ? kMenuBarHeight : 0;
    return m;
}

QSize TForm::chromeSize() const
{
    const TNonClientMetrics m = nonClient();
    return QSize(2 * m.frame, 2 * m.frame + m.caption + m.menu);
}

QSize TForm::designClientSize() const
{
    return m_clientSize.isValid() ? m_clientSize : QSize(0, 0);
}

void TForm::setClientSize(int width, int height)
{
    m_clientSize = QSize(width, height);
    layoutNonClient();
}

void TForm::layoutNonClient()
{
    const TNonClientMetrics m = nonClient();
    QSize client = designClientSize();
    if (isMaximized()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        client = (size() - chromeSize()).expandedTo(QSize(0, 0));
    } else {
        setFixedSize(client + chromeSize());
    }
    const int top = m.frame + m.caption;
    if (m_menuBar)
        m_menuBar->setGeometry(m.frame, top, client.width(), m.menu);
    m_client->setGeometry(m.frame, top + m.menu, client.width(), client.height());
    Wallpaper1->setGeometry(0, 0, client.width(), m_wallpaperHeight > 0 ? m_wallpaperHeight : client.height());
}

void TForm::RepaintNow()
{
    // A child that was just shown has only asked for its paint; deliver
    // those requests first, or repaint() would leave it out.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    repaint();
}

void TForm::setWallpaperHeight(int height)
{
    m_wallpaperHeight = height;
    layoutNonClient();
}

void TForm::setBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    applyWindowFlags();
    layoutNonClient();
}

void TForm::setBorderIcons(TBorderIcons icons)
{
    if (icons == m_borderIcons)
        return;
    m_borderIcons = icons;
    update(); // the caption's buttons
}

void TForm::applyWindowFlags()
{
    // No decorations from the window manager; the type still makes it treat
    // the window as a normal window or a dialog. Button hints must stay off:
    // Qt turns any of them into a request for a title bar.
    const Qt::WindowFlags flags = (m_borderStyle == bsDialog ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint;
    const bool wasVisible = isVisible();
    setWindowFlags(flags);
    if (wasVisible)
        show();
}

void TForm::maximize()
{
    if (!isMaximized())
        m_restorePos = pos();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showMaximized();
}

void TForm::restore()
{
    showNormal();
}

void TForm::paintEvent(QPaintEvent*)
{
    const TNonClientMetrics m = nonClient();
    if (m.frame == 0 && m.caption == 0)
        return;
    QPainter p(this);
    TFrames frames(p, rect());
    frames.draw(look::btnFace(), look::windowFrame());
    frames.draw(look::btnHighlight(), look::btnShadow());
    frames.draw(look::btnFace(), look::btnFace(), m.frame - 2);
    if (m.caption > 0) // the line between the title bar and what lies below it
        pixelart::fill(p, QRect(m.frame, m.frame + m.caption - 1, width() - 2 * m.frame, 1), look::btnFace());
}

void TForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isMaximized())
        layoutNonClient();
}

QMenuBar* TForm::menuBar()
{
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(this);
        m_menuBar->setNativeMenuBar(false);
        layoutNonClient();
    }
    return m_menuBar;
}

QMenu* TForm::addMenu(const QString& title)
{
    return menuBar()->addMenu(title);
}

QAction* TForm::addItem(QMenu* menu, const QString& text, const QKeySequence& shortcut,
                        std::function<void()> handler)
{
    QAction* action = menu->addAction(text);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    if (handler)
        connect(action, &QAction::triggered, this, errorreport::guard(std::move(handler)));
    return action;
}

void TForm::centerOnScreen()
{
    m_placed = true;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TForm::Show()
{
    if (!m_placed)
        centerOnScreen();
    if (isMinimized())
        showNormal();
    else
        show();
    // The headless test platform has no stacking order and warns about it.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        raise();
    activateWindow();
}

int TForm::ShowModal()
{
    if (isVisible() || inModal())
        throw EError(QStringLiteral("Cannot make a visible window modal"));
    // Between two dialogs in a row no window is active; the dialog then
    // belongs to the last modeless window that was.
    QPointer<QWidget> opener = QApplication::activeWindow();
    if (!opener || !opener->isVisible())
        opener = lastActiveModeless();
    setWindowModality(Qt::ApplicationModal);
    if (opener && opener != this) {
        winId();
        if (QWindow* w = windowHandle())
            w->setTransientParent(opener->windowHandle());
    }
    m_modalResult = mrNone;
    QEventLoop loop;
    m_loop = &loop;
    Show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;
    setWindowModality(Qt::NonModal);
    // The window that opened the dialog gets the focus back, whatever the
    // window manager would pick.
    if (opener && opener != this && opener->isVisible())
        opener->activateWindow();
    return m_modalResult;
}

void TForm::setModalResult(int result)
{
    m_modalResult = result;
    if (result != mrNone && inModal())
        close();
}

void TForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        const auto before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        if ((before & Qt::WindowMaximized) && !isMaximized() && !isMinimized() && m_restorePos) {
            // Back where it was, in one step: fixing the size alone would
            // resize the window at the maximized position, and the window
            // manager would take that over its own restore.
            setGeometry(QRect(*m_restorePos, designClientSize() + chromeSize()));
            m_restorePos.reset();
        }
        layoutNonClient(); // free the size when maximized, fix it again otherwise
    }
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !isVisible())
        return;
    if (inModal()) {
        if (m_activatedSinceShow)
            return;
        m_activatedSinceShow = true;
    } else {
        if (s_lastModeless == this)
            return;
        s_lastModeless = this;
    }
    // A failing handler is reported here: thrown on, it would unwind Qt's
    // activation code, which is built without exceptions.
    errorreport::run([this] { FormActivate(); });
    emit activated();
}

void TForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (s_lastModeless == this)
        s_lastModeless = nullptr;
    if (event->spontaneous())
        return; // minimised: still shown as far as the program is concerned
    m_activatedSinceShow = false;
    if (m_loop)
        m_loop->quit();
}

void TForm::closeEvent(QCloseEvent* event)
{
    errorreport::run([this] { FormClose(); });
    event->accept();
}

void TForm::keyPressEvent(QKeyEvent* event)
{
    auto usable = [](QAbstractButton* b) { return b && b->isEnabled() && b->isVisibleTo(b->window()); };
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); usable(focused)) {
            focused->click();
            return;
        }
        if (usable(m_defaultButton)) {
            m_defaultButton->click();
            return;
        }
    } else if (event->key() == Qt::Key_Escape) {
        if (usable(m_cancelButton)) {
            m_cancelButton->click();
            return;
        }
        // A dialog without a cancel button closes on Esc as on its close
        // box, so every dialog can be left from the keyboard.
        if (inModal()) {
            close();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}
