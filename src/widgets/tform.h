// The base of every window of the program: a fixed-size frameless top-level
// window that draws its own frame, carries the gradient title bar
// `GradientCaption1`, has its client area covered by the wallpaper panel
// `Wallpaper1`, an optional menu bar, modal and modeless showing, closing
// that only hides, and the program-wide activation rule (see FormActivate).
#pragma once

#include "tformframe.h"

#include <QWidget>

#include <functional>
#include <optional>

class QAbstractButton;
class QAction;
class QEventLoop;
class QMenu;
class QMenuBar;
class TGradientCaption;
class TWallpaper;

// Modal results, as a dialog's buttons set them.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TForm : public QWidget, public TFrameOwner {
    Q_OBJECT
public:
    explicit TForm(const QString& name);
    ~TForm() override;

    // Client size: the area inside the frame, the title bar and the menu bar.
    void setClientSize(int width, int height);
    QSize clientSize() const { return m_clientSize; }
    QWidget* clientArea() const { return m_client; }
    // Paints the whole window at once, controls shown or hidden just before
    // included: for a change the player must see while a blocking cue
    // sounds, when no events are handled.
    void RepaintNow();

    // Aligns Wallpaper1 to the top with a height of its own instead of
    // filling the client area (0 restores filling).
    void setWallpaperHeight(int height);
    TNonClientMetrics nonClient() const override;

    TBorderStyle borderStyle() const override { return m_borderStyle; }
    void setBorderStyle(TBorderStyle style);
    TBorderIcons borderIcons() const override { return m_borderIcons; }
    void setBorderIcons(TBorderIcons icons);

    // Maximizing lifts the fixed size (a window manager will not maximize a
    // window whose size hints forbid growing); restoring puts it back. While
    // maximized the client area and Wallpaper1 fill the window.
    void maximize() override;
    void restore() override;

    // Menu bar, made on first use.
    QMenuBar* menuBar();
    QMenu* addMenu(const QString& title);
    QAction* addItem(QMenu* menu, const QString& text, const QKeySequence& shortcut,
                     std::function<void()> handler);

    // Modeless show: a hidden window becomes visible, a visible one comes to
    // the front; either way it is made the active window.
    void Show();
    // Modal show: runs until the window is closed or a modal result is set.
    int ShowModal();
    bool inModal() const { return m_loop != nullptr; }
    int modalResult() const { return m_modalResult; }
    void setModalResult(int result);

    // Enter presses the default button (unless another button has the focus);
    // Esc presses the cancel button, or closes a modal window that has none.
    void setDefaultButton(QAbstractButton* button) { m_defaultButton = button; }
    void setCancelButton(QAbstractButton* button) { m_cancelButton = button; }

    // Handlers. FormCreate runs once, right after construction (CreateForm).
    virtual void FormCreate() {}
    // A modeless window's activation runs when the keyboard focus passes to
    // it from another modeless window of the program: not on the return from
    // a modal dialog, not on the return from another application. A modal
    // window's runs each time it is shown.
    virtual void FormActivate() {}
    // Runs when the window is closing, before it hides.
    virtual void FormClose() {}

    TWallpaper* Wallpaper1 = nullptr;
    // The title bar, with the settings every window shares.
    TGradientCaption* GradientCaption1 = nullptr;

    // The modeless window that had the focus last, if it is still shown.
    static TForm* lastActiveModeless();

signals:
    void activated();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    // Places the menu bar and the client area inside the non-client parts and
    // fixes the window size.
    virtual void layoutNonClient();

private:
    void applyWindowFlags();
    // Everything around the client area, and the client size as set.
    QSize chromeSize() const;
    QSize designClientSize() const;
    void centerOnScreen();

    QSize m_clientSize;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    TBorderStyle m_borderStyle = bsSingle;
    TBorderIcons m_borderIcons = biSystemMenu | biMinimize | biMaximize;
    QEventLoop* m_loop = nullptr;
    int m_modalResult = mrNone;
    bool m_activatedSinceShow = false;
    bool m_placed = false;
    int m_wallpaperHeight = 0;
    std::optional<QPoint> m_restorePos; // where maximize() found the window
    QAbstractButton* m_defaultButton = nullptr;
    QAbstractButton* m_cancelButton = nullptr;
};

// Creates a window of the registry: constructs it hidden, makes the global
// reference point at it, then runs its creation handler.
template <class T>
void CreateForm(T*& reference)
{
    reference = new T();
    reference->FormCreate();
}
