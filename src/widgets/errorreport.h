// The application's top-level error report. Event handlers catch nothing: an
// exception that escapes one ends that handler and lands here, in a message
// box with the error's text, and the program goes on with the next event.
#pragma once

#include "eerror.h"

#include <QString>

#include <functional>

namespace errorreport {

// Shows the text (a message box by default). Reports raised while a box is
// already open wait for it and are shown afterwards, identical ones once, so
// an error that repeats on every repaint cannot stack boxes without end.
void report(const QString& text);

// Replaces the message box, for tests; an empty function restores it.
void setHandler(std::function<void(const QString&)> handler);

} // namespace errorreport
