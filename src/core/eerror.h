// The error type the program raises: its text is what the player reads in the
// error report. It lives beneath every other library so that models, the
// score store and the sound player can raise it without knowing any window.
#pragma once

#include <QString>

#include <stdexcept>

class EError : public std::runtime_error {
public:
    explicit EError(const QString& text)
        : std::runtime_error(text.toStdString())
    {
    }
    QString text() const { return QString::fromUtf8(what()); }
};
