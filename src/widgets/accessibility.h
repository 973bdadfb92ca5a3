// What a screen reader learns of the program's own controls: the interface
// factory that gives the custom widgets their roles, names and values, and
// the notices the windows send when what a control says has changed. Qt's
// accessibility classes carry it all to the desktop's screen reader.
#pragma once

#include <QString>

class QObject;
class QWidget;

namespace accessibility {

// Installs the interface factory; once, from the application object.
void install();

// Sets the name a screen reader reads for a control, and tells it only
// when the name has changed.
void setName(QWidget* widget, const QString& name);

// Tells a screen reader that what a control says has changed (a caption or
// a hint it is named by).
void nameChanged(QObject* object);

// Tells a screen reader that a counter's value (and so its name) changed:
// at once when nothing was said of it in the last second, otherwise once
// that second is over, with the value it has then.
void valueChanged(QWidget* widget);

} // namespace accessibility
