// The gradient title bar: draws the bar of its window (gradient, icon, names,
// caption buttons) and does what a title bar does (buttons, window menu,
// double clicks, dragging), hooked into the window through an event filter.
#pragma once

#include "tformframe.h"
#include "tgradientcaptionbutton.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <array>
#include <optional>

class QAction;
class QEvent;
class QMenu;
class QMouseEvent;
class QPainter;
class QPaintEvent;

// Where everything of the bar lies, in window coordinates.
struct TCaptionLayout {
    int frame = 0;
    QRect bar;
    QRect icon;      // zero width at the bar's left edge when there is none
    QRect buttons;   // zero width at the bar's right edge when there are none
    QRect text;
    TBorderIcons buttonSet = 0; // the buttons shown: biSystemMenu stands for close
};

class TGradientCaption : public QObject {
    Q_OBJECT
    Q_PROPERTY(QColor ActiveBeginColor READ activeBeginColor WRITE setActiveBeginColor)
    Q_PROPERTY(QColor ActiveEndColor READ activeEndColor WRITE setActiveEndColor)
    Q_PROPERTY(QColor ActiveFontColor READ activeFontColor WRITE setActiveFontColor)
    Q_PROPERTY(QColor InactiveBeginColor READ inactiveBeginColor WRITE setInactiveBeginColor)
    Q_PROPERTY(QColor InactiveEndColor READ inactiveEndColor WRITE setInactiveEndColor)
    Q_PROPERTY(QColor InactiveFontColor READ inactiveFontColor WRITE setInactiveFontColor)
    Q_PROPERTY(QString ApplicationName READ applicationName WRITE setApplicationName)
    Q_PROPERTY(QFont ApplicationNameFont READ applicationNameFont WRITE setApplicationNameFont)
    Q_PROPERTY(QFont CaptionFont READ captionFont WRITE setCaptionFont)
    Q_PROPERTY(int NumColors READ numColors WRITE setNumColors)
    Q_PROPERTY(bool AutoSize READ autoSize WRITE setAutoSize)
public:
    // Throws EError when the owner is not a window of the program (one that
    // has a frame of its own).
    explicit TGradientCaption(QObject* owner);
    ~TGradientCaption() override;

    QColor activeBeginColor() const { return m_activeBeginColor; }
    void setActiveBeginColor(const QColor& c);
    QColor activeEndColor() const { return m_activeEndColor; }
    void setActiveEndColor(const QColor& c);
    QColor activeFontColor() const { return m_activeFontColor; }
    void setActiveFontColor(const QColor& c);
    QColor inactiveBeginColor() const { return m_inactiveBeginColor; }
    void setInactiveBeginColor(const QColor& c);
    QColor inactiveEndColor() const { return m_inactiveEndColor; }
    void setInactiveEndColor(const QColor& c);
    QColor inactiveFontColor() const { return m_inactiveFontColor; }
    void setInactiveFontColor(const QColor& c);
    QString applicationName() const { return m_applicationName; }
    void setApplicationName(const QString& name);
    QFont applicationNameFont() const { return m_applicationNameFont; }
    void setApplicationNameFont(const QFont& font);
    QFont captionFont() const { return m_captionFont; }
    void setCaptionFont(const QFont& font);
    int numColors() const { return m_numColors; }
    void setNumColors(int n);
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

    QWidget* window() const { return m_window; }
    TGradientCaptionButton* button(TCaptionButtonKind kind) const { return m_buttons[kind]; }

    // Recomputes the layout from the window's size, style and icons and
    // places the caption buttons.
    TCaptionLayout layOut();
    // The bar composed off-screen, in an image whose pixels are at window
    // coordinates times `scale` (it reaches from the origin to the bar's
    // bottom-right). Null when the window has no bar.
    QImage composeBar(bool active, qreal scale = 1);
    // The window menu with its items enabled and greyed for the window's
    // present state.
    QMenu* prepareWindowMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QWidget* requireForm(QObject* owner);
    void invalidate();
    bool paintHook(QPaintEvent* event);
    bool mouseHook(QMouseEvent* event);
    void forward(TGradientCaptionButton* b, QMouseEvent* event);
    void bringToFront();
    void startMove();
    void openWindowMenu(const QPoint& globalPos, bool fromIcon);
    void runMenuCommand(QAction* action);
    bool closeOnSecondIconPress();
    void buttonClicked(TCaptionButtonKind kind);
    void toggleMaximized();
    void drawGradient(QPainter& p, const QRect& bar, const QColor& begin, const QColor& end) const;
    void drawIcon(QPainter& p, const QRect& area) const;
    void drawTexts(QPainter& p, const QRect& area, const QColor& color) const;

    QWidget* m_window;
    TFrameOwner* m_frame;
    std::array<TGradientCaptionButton*, 4> m_buttons {};
    TCaptionLayout m_layout;

    QColor m_activeBeginColor {0, 0, 128};
    QColor m_activeEndColor {0, 0, 255};
    QColor m_activeFontColor {255, 255, 255};
    QColor m_inactiveBeginColor {128, 128, 128};
    QColor m_inactiveEndColor {192, 192, 192};
    QColor m_inactiveFontColor {192, 192, 192};
    QString m_applicationName;
    QFont m_applicationNameFont;
    QFont m_captionFont;
    int m_numColors = 64;
    bool m_autoSize = false;

    bool m_menuPending = false;     // right press in the bar, waiting for its release
    qint64 m_iconStamp = 0;         // ms of the last left press on the icon, 0 = none
    bool m_iconMenuClosing = false;   // the icon's menu is open or has just closed
    bool m_iconPressClosedMenu = false;
    std::optional<QPoint> m_dragFrom; // left press on the bar that may become a drag

    QPointer<QMenu> m_menu;
    QAction* m_restore = nullptr;
    QAction* m_move = nullptr;
    QAction* m_size = nullptr;
    QAction* m_minimize = nullptr;
    QAction* m_maximize = nullptr;
    QAction* m_close = nullptr;
};
