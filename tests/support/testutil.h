// Small helpers shared by the tests: answering modal windows, capturing the
// error report, and scripted random numbers.
#pragma once

#include "errorreport.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>

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
inline void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs = 10000)
{
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs] {
        *elapsed += 10;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
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

// A random source that hands out prepared values, and counts re-seeds.
#include "randomsource.h"
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::deque<int> values)
        : values(std::move(values))
    {
    }
    void Randomize() override { ++reseeds; }
    int Random(int n) override
    {
        ++draws;
        if (values.empty())
            return fallback % n;
        const int v = values.front();
        values.pop_front();
        if (v < 0 || v >= n)
            throw std::logic_error("scripted random value out of range");
        return v;
    }
    std::deque<int> values;
    int fallback = 0;
    int reseeds = 0;
    int draws = 0;
};
