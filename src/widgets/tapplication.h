// The application object. Its notify() is the one place where an exception
// escaping an event handler is caught: it goes to the error report and the
// event loop carries on.
#pragma once

#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
