// The frame metrics of the windows.
#include "tformframe.h"

#include <QApplication>

namespace {
bool isToolWindow(TBorderStyle style)
{
    return style == bsToolWindow || style == bsSizeToolWin;
}
} // namespace

int TCaptionMetrics::frame(TBorderStyle style, bool minimized)
{
    if (style == bsNone)
        return 0;
    if (minimized)
        return dialogFrame;
    return style == bsSizeable || style == bsSizeToolWin ? sizingFrame : dialogFrame;
}

int TCaptionMetrics::captionHeight(TBorderStyle style)
{
    if (style == bsNone)
        return 0;
    return isToolWindow(style) ? smallCaption : caption;
}

int TCaptionMetrics::doubleClickTime()
{
    return QApplication::doubleClickInterval();
}
