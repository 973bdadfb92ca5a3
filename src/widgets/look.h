// The program-wide look: the classic desktop palette, the "Windows" widget
// style and the base font, set once on the application.
#pragma once

#include <QColor>
#include <QFont>

class QApplication;

namespace look {

// The family the windows ask for; mapped onto an installed font at start-up.
inline constexpr const char* baseFamily = "MS Sans Serif";

void install(QApplication& app);

// A font of the base family with the given pixel height.
QFont font(int pixelHeight, bool bold = false);

// System colours, read from the application palette so a palette change
// reaches every widget that asks.
QColor btnFace();
QColor btnHighlight();
QColor btnShadow();
QColor btnText();
QColor windowFrame();
QColor window();
QColor windowText();
QColor grayText();

} // namespace look
