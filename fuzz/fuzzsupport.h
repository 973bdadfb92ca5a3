// What every harness shares: the entry point libFuzzer (or the replay
// program) calls, an invariant check that aborts, so that both report a
// broken one with the input that broke it, and the few things a reader needs
// around it: an application object on the offscreen platform, and a private
// folder to write the input into as a file.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

#define FUZZ_CHECK(condition)                                                                          \
    do {                                                                                               \
        if (!(condition)) {                                                                            \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                              \
        }                                                                                              \
    } while (0)

// Only EError may leave a reader; anything else ends the run as a finding.
#define FUZZ_UNEXPECTED_EXCEPTION()                                                                    \
    do {                                                                                               \
        std::fprintf(stderr, "%s:%d: an exception other than EError escaped\n", __FILE__, __LINE__);   \
        std::abort();                                                                                  \
    } while (0)

namespace fuzz {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The widgets need an application object; made once, on the offscreen
// platform, with SDL's silent audio driver, and kept to the end.
inline void ensureApplication()
{
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("QT_LOGGING_RULES", "qt.qpa.*=false", 0);
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
}

// A folder of this run's own, removed at exit. A memory file system when
// there is one: the score saves sync to the disk, which would otherwise cost
// more than the reading under test.
inline QString scratchPath(const QString& name)
{
    static QTemporaryDir* dir = [] {
        const QString shm = QStringLiteral("/dev/shm");
        static QTemporaryDir d(QFile::exists(shm) ? shm + QStringLiteral("/tivorama-fuzz-XXXXXX")
                                                   : QString());
        return &d;
    }();
    FUZZ_CHECK(dir->isValid());
    return dir->filePath(name);
}

// Writes the input as a file of the given name in the scratch folder.
inline QString writeInput(const QString& name, const std::uint8_t* data, std::size_t size)
{
    const QString path = scratchPath(name);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    file.close();
    return path;
}

} // namespace fuzz
