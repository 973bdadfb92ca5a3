// The yardstick for idle CPU: a bare Qt window whose label shows a counter
// that a timer advances once a second, as a game clock does.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("000"));
    label.resize(245, 303);
    label.show();
    int seconds = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { label.setText(QStringLiteral("%1").arg(++seconds, 3, 10, QLatin1Char('0'))); });
    timer.start(1000);
    return app.exec();
}
