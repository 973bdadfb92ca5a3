// Tivorama: creates every window, shows the launcher (and the game the
// command line asks for) and runs until the launcher is closed.
#include "commandline.h"
#include "registry.h"
#include "tapplication.h"

int main(int argc, char** argv)
{
    // Before the application object: --help and --version must answer
    // without a display, and a bad option must not open any window.
    const commandline::Options options = commandline::parse(argc, argv);
    if (options.action != commandline::Options::Run)
        return commandline::answer(options);

    TApplication app(argc, argv);
    // Task bars and Wayland compositors find the menu entry, and with it the
    // icon, by this name.
    TApplication::setDesktopFileName(QStringLiteral("tivorama"));
    // The launcher alone is made before it shows and the others follow once
    // it has been painted, in the same order; a game asked for on the command
    // line needs its window at once.
    CreateForms(options.game ? QString() : QStringLiteral("TMainForm"));
    commandline::showWindows(options);
    CreateRemainingFormsAfterShow();
    const int result = app.exec();
    DestroyForms();
    return result;
}
