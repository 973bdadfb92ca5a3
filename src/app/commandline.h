// The program's command line: the game to show at start (the desktop menu's
// actions use it), help and version. It is read before the application
// object exists, so --help and --version answer without a display; options
// of Qt's own (-platform, -display, -style, ...) are let through to Qt.
#pragma once

#include <QString>
#include <QStringList>

namespace commandline {

struct Options {
    enum Action { Run, Help, Version, Error };
    Action action = Run;
    int game = 0;    // 0: only the launcher; 1..3: that game shown as well
    QString message; // for Error: what was wrong, in one line
};

// argv as the program got it, the program name first.
Options parse(const QStringList& arguments);
Options parse(int argc, char** argv);

QString helpText();
QString versionText();

// What main does when the options were anything but Run: prints to the
// right stream and gives the exit code (0 for help and version, 2 for a bad
// command line).
int answer(const Options& options);

// Shows the launcher and then, with the launcher's own show operation, the
// game the command line asked for.
void showWindows(const Options& options);

} // namespace commandline
