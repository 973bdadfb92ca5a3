// The main() of every test program: the program's own application object
// (with its error report and look) on the offscreen platform and SDL's dummy
// audio driver, unless the environment already chose others.
#pragma once

#include "tapplication.h"

#include <QTest>

#include <cstdlib>

#define TIVORAMA_TEST_MAIN(TestClass)                                                                  \
    int main(int argc, char** argv)                                                                    \
    {                                                                                                  \
        setenv("QT_QPA_PLATFORM", "offscreen", 0);                                                     \
        setenv("SDL_AUDIODRIVER", "dummy", 0);                                                         \
        TApplication app(argc, argv);                                                                  \
        TestClass tc;                                                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                          \
    }
