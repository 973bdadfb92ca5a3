#include "tapplication.h"

#include "errorreport.h"
#include "look.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tivorama"));
    // The launcher decides when the program ends, not the last visible window.
    setQuitOnLastWindowClosed(false);
    look::install(*this);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        errorreport::report(QString::fromUtf8(e.what()));
    } catch (...) {
        errorreport::report(QStringLiteral("Unknown error"));
    }
    return true;
}
