// Small helpers shared by the tests: answering modal windows, capturing the
// error report, and scripted random numbers.
#pragma once

#include "errorreport.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <functional>
#include <stdexcept>

// Collects error reports instead of showing message boxes, for its lifetime.
class ErrorCatcher {
public:
    ErrorCatcher()
    {
        errorreport::setHandler([this](const QString& text) { errors.append(text); });
    }
    ~ErrorCatcher() { errorreport::setHandler({}); }
    QStringList errors;
};

// Runs `action` on the next modal window that appears (polled every 10 ms),
// for example to type a name and press OK in a dialog opened by the code
// under test. Gives up after `timeoutMs`.
// The action belongs to the test (and test row) that asked for it: it often
// holds that test's locals, so it is dropped once another test runs.
inline void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs = 10000)
{
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    const auto testOf = [] {
        return QByteArray(QTest::currentTestFunction()) + '/' + QByteArray(QTest::currentDataTag());
    };
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs, testOf, owner = testOf()] {
        if (testOf() != owner) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        *elapsed += 10;
        // Wait until it is the active window too: its activation handler
        // has run by then.
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && QApplication::activeWindow() == modal) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// Closes the next `count` modal windows as each appears, as a player who
// dismisses the result dialogs and the table would.
inline void closeModals(int count)
{
    if (count > 0)
        whenModalShown([count](QWidget* w) {
            w->close();
            closeModals(count - 1);
        });
}

#include "scriptedrandom.h"

// Writes a PCM wave file of `frames` frames at `rate` Hz, `channels`
// channels of `bits`-bit samples (8 or 16), each sample sample(frame) in
// -1..1 (a quiet square wave when none is given).
#include <QFile>
#include <QtEndian>
#include <cmath>
inline bool writeWavFile(const QString& path, int frames, int rate = 22050, int channels = 1, int bits = 16,
                         const std::function<double(int)>& sample = {})
{
    const int bytesPerSample = bits / 8;
    QByteArray data(frames * channels * bytesPerSample, Qt::Uninitialized);
    char* out = data.data();
    for (int i = 0; i < frames; ++i) {
        const double v = sample ? sample(i) : (i % 2 ? -0.12 : 0.12);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                *out++ = char(quint8(std::clamp<long>(128 + std::lround(v * 128), 0, 255)));
            } else {
                qToLittleEndian(qint16(std::clamp<long>(std::lround(v * 32768), -32768, 32767)), out);
                out += 2;
            }
        }
    }
    QByteArray wav;
    auto put32 = [&](quint32 x) { char b[4]; qToLittleEndian(x, b); wav.append(b, 4); };
    auto put16 = [&](quint16 x) { char b[2]; qToLittleEndian(x, b); wav.append(b, 2); };
    wav.append("RIFF");
    put32(36 + data.size());
    wav.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(quint16(channels));
    put32(quint32(rate));
    put32(quint32(rate * channels * bytesPerSample));
    put16(quint16(channels * bytesPerSample));
    put16(quint16(bits));
    wav.append("data");
    put32(quint32(data.size()));
    wav.append(data);
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(wav) == wav.size();
}

// A short cue of `ms` milliseconds, so tests can play cues without waiting
// for the real ones.
inline bool writeTestWav(const QString& path, int ms)
{
    return writeWavFile(path, 22050 * ms / 1000);
}

// Types text into a widget one character at a time, as a keyboard would; unlike
// QTest::keyClicks it takes any letter, Cyrillic included.
#include <QKeyEvent>
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}
