// The application object with the program's look and its last-resort error
// report.
#include "tapplication.h"

#include "accessibility.h"
#include "errorreport.h"
#include "look.h"

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tivorama"));
    // The launcher decides when the program ends, not the last visible window.
    setQuitOnLastWindowClosed(false);
    // Each window keeps its menu bar inside it, as this look has it, also on
    // a desktop with a global menu bar; nor need the menus ask the session
    // for one as the windows are made.
    setAttribute(Qt::AA_DontUseNativeMenuBar);
    look::install(*this);
    accessibility::install();
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = true;
    errorreport::run([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
