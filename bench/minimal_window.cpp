// The yardstick for start-up: the least a Qt Widgets program can show, a
// label in a window, built with the same compiler and flags as Tivorama.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Tivorama"));
    label.resize(289, 144);
    label.show();
    return app.exec();
}
