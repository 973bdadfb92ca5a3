// The window base. The activation rule lives here once for all windows:
// a modeless window's FormActivate runs when it takes the focus from another
// modeless window of the program (or from none, after the last one was
// hidden); returning from a modal dialog or from another application leaves
// the last modeless window unchanged, so nothing runs. Modal windows run
// theirs once per showing.
#include "tform.h"

#include "errorreport.h"
#include "look.h"
#include "tpanel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace {
TForm* s_lastModeless = nullptr;
constexpr int kMenuBarHeight = 19;
} // namespace

TForm::TForm(const QString& name)
    : QWidget(nullptr)
{
    setObjectName(name);
    setAttribute(Qt::WA_QuitOnClose, false);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    Wallpaper1 = new TWallpaper(m_client);
    Wallpaper1->setObjectName(QStringLiteral("Wallpaper1"));
    Wallpaper1->setCaption(QStringLiteral("Wallpaper1"));
    Wallpaper1->setWallpaper(TWallpaper::sharedTile());
    applyWindowFlags();
}

TForm::~TForm()
{
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
    m.menu = m_menuBar ? kMenuBarHeight : 0;
    return m;
}

void TForm::setClientSize(int width, int height)
{
    m_clientSize = QSize(width, height);
    Wallpaper1->setGeometry(0, 0, width, height);
    layoutNonClient();
}

void TForm::layoutNonClient()
{
    const TNonClientMetrics m = nonClient();
    const int top = m.frame + m.caption;
    if (m_menuBar)
        m_menuBar->setGeometry(m.frame, top, m_clientSize.width(), m.menu);
    m_client->setGeometry(m.frame, top + m.menu, m_clientSize.width(), m_clientSize.height());
    setFixedSize(m_clientSize.width() + 2 * m.frame, m_clientSize.height() + 2 * m.frame + m.caption + m.menu);
}

void TForm::setBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    applyWindowFlags();
}

void TForm::setBorderIcons(TBorderIcons icons)
{
    if (icons == m_borderIcons)
        return;
    m_borderIcons = icons;
    applyWindowFlags();
}

void TForm::applyWindowFlags()
{
    Qt::WindowFlags flags = (m_borderStyle == bsDialog ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
    if (m_borderStyle == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint;
        if (m_borderIcons & biSystemMenu) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if (m_borderStyle != bsDialog && (m_borderIcons & biMinimize))
                flags |= Qt::WindowMinimizeButtonHint;
            if (m_borderStyle != bsDialog && (m_borderIcons & biMaximize))
                flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    const bool wasVisible = isVisible();
    setWindowFlags(flags);
    if (wasVisible)
        show();
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
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
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
    raise();
    activateWindow();
}

int TForm::ShowModal()
{
    if (isVisible() || inModal())
        throw EError(QStringLiteral("Cannot make a visible window modal"));
    QWidget* opener = QApplication::activeWindow();
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
    FormActivate();
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
    FormClose();
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
    } else if (event->key() == Qt::Key_Escape && usable(m_cancelButton)) {
        m_cancelButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
