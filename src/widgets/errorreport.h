// The application's top-level error report. An error raised in an event
// handler ends that handler and lands here, in a message box with the error's
// text, and the program goes on with the next event. Handlers connected to
// signals (menu items, buttons, timers, cells) are wrapped with guard() where
// they are connected, because Qt leaves an exception that escapes a slot
// undefined; the application's notify() catches what escapes plain events.
#pragma once

#include "eerror.h"

#include <QString>

#include <functional>
#include <utility>

namespace errorreport {

// Shows the text (a message box by default). Reports raised while a box is
// already open wait for it and are shown afterwards, identical ones once, so
// an error that repeats on every repaint cannot stack boxes without end.
void report(const QString& text);

// Replaces the message box, for tests; an empty function restores it.
void setHandler(std::function<void(const QString&)> handler);

// Reports the exception being handled; call it only inside a catch block.
void reportCurrentException();

// Runs a handler; whatever it throws is reported and goes no further.
// Returns whether it ran to its end.
template <class F>
bool run(F&& handler)
{
    try {
        handler();
        return true;
    } catch (...) {
        reportCurrentException();
    }
    return false;
}

// The handler wrapped for connecting to a signal: the signal's arguments are
// dropped, and an error ends the handler and goes to the report.
template <class F>
auto guard(F handler)
{
    return [handler = std::move(handler)]() { run(handler); };
}

} // namespace errorreport
