// What the window benchmarks share: the application object on the offscreen
// platform with SDL's silent driver, score files in a scratch folder, the
// build root (cues, rules, cell pictures) as the current directory, and a
// wait until a window is on screen.
#pragma once

#include "datafiles.h"
#include "tapplication.h"
#include "ttop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

class WindowBench {
public:
    WindowBench(int& argc, char** argv)
        : m_environment(setEnvironment())
        , m_app(argc, argv)
    {
        datafiles::setProgramPath(m_scratch.filePath(QStringLiteral("tivorama")));
        // The benchmarks run from build/bench; the files lie in build/.
        QDir::setCurrent(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    }

private:
    // Before the application object reads them.
    static bool setEnvironment()
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        return true;
    }

    bool m_environment;
    TApplication m_app;
    QTemporaryDir m_scratch;
};

// Shows the window and waits until it is exposed, so that repaints draw.
inline void waitExposed(QWidget& window)
{
    window.show();
    QElapsedTimer timer;
    timer.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}
