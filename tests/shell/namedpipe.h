// A named pipe in place of a data file, for the readers that must refuse it.
// A reader that opens it all the same waits in open() for a writer for good;
// so after a while a writer comes and goes, which ends that wait, and the
// test fails on the time the reader took instead of hanging.
#pragma once

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class NamedPipe {
public:
    explicit NamedPipe(const QString& path, std::chrono::milliseconds patience = std::chrono::seconds(3))
        : m_path(QFile::encodeName(path))
        , m_made(mkfifo(m_path.constData(), 0600) == 0)
    {
        if (!m_made)
            return;
        m_watchdog = std::thread([this, patience] {
            const auto due = std::chrono::steady_clock::now() + patience;
            while (!m_stop) {
                // Opening for writing without blocking succeeds only while a
                // reader waits in its open().
                if (std::chrono::steady_clock::now() >= due) {
                    const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0) {
                        ::close(fd);
                        return;
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    ~NamedPipe()
    {
        m_stop = true;
        if (m_watchdog.joinable())
            m_watchdog.join();
        if (m_made)
            ::unlink(m_path.constData());
    }
    NamedPipe(const NamedPipe&) = delete;
    NamedPipe& operator=(const NamedPipe&) = delete;

    bool isValid() const { return m_made; }

private:
    QByteArray m_path;
    bool m_made;
    std::atomic<bool> m_stop{false};
    std::thread m_watchdog;
};
