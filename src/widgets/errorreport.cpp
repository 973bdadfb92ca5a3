// The message box of the error report and the queue that keeps it single.
#include "errorreport.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace errorreport {

namespace {
std::function<void(const QString&)> g_handler;
bool g_showing = false;
QStringList g_pending;

void showBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tivorama"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
} // namespace

void report(const QString& text)
{
    if (g_showing) {
        if (!g_pending.contains(text))
            g_pending.append(text);
        return;
    }
    g_showing = true;
    QString current = text;
    for (;;) {
        try {
            if (g_handler)
                g_handler(current);
            else
                showBox(current);
        } catch (...) {
            // The report itself must never throw back into the event loop.
        }
        g_pending.removeAll(current);
        if (g_pending.isEmpty())
            break;
        current = g_pending.takeFirst();
    }
    g_showing = false;
}

void setHandler(std::function<void(const QString&)> handler)
{
    g_handler = std::move(handler);
}

void reportCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
}

} // namespace errorreport
