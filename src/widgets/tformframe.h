// What a window has around its client area, shared by the window base and
// its gradient title bar: the border styles and icons, the frame metrics,
// and the little the title bar needs to know of its window and may ask of it.
// The title bar knows the window only through this header.
#pragma once

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = int;

// The sizes of everything a window has around its client area. They live in
// one place so the frame, the title bar and the menu bar can change together.
struct TNonClientMetrics {
    int frame = 0;     // frame thickness on every side
    int caption = 0;   // title bar height, including its bottom line
    int menu = 0;      // menu bar height, when the window has one
};

// The fixed metrics of the frame and the title bar. The window manager draws
// no decorations on our windows, so these are ours rather than the desktop's.
struct TCaptionMetrics {
    static constexpr int dialogFrame = 3;      // bsSingle, bsDialog, bsToolWindow, minimized windows
    static constexpr int sizingFrame = 4;      // bsSizeable, bsSizeToolWin
    static constexpr int caption = 19;         // title bar plus the line below it
    static constexpr int smallCaption = 15;    // the same for the tool-window styles
    static constexpr int buttonWidth = 18;     // a placed caption button is 2 narrower...
    static constexpr int buttonHeight = 18;    // ...and 4 lower than these
    static constexpr int smallButtonWidth = 14;

    static int frame(TBorderStyle style, bool minimized = false);
    static int captionHeight(TBorderStyle style);
    static int doubleClickTime();
};

// Implemented by the window base. The title bar reads the window's frame
// settings and asks it to maximize or restore, which a fixed-size window
// does in its own way.
class TFrameOwner {
public:
    virtual TBorderStyle borderStyle() const = 0;
    virtual TBorderIcons borderIcons() const = 0;
    virtual TNonClientMetrics nonClient() const = 0;
    virtual void maximize() = 0;
    virtual void restore() = 0;

protected:
    ~TFrameOwner() = default;
};
