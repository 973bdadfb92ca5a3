// The application object. Its notify() is the one place where an exception
// escaping an event handler is caught: it goes to the error report and the
// event loop carries on. Qt's widget code is built without exceptions, so one
// that unwinds it skips Qt's clean-ups on the way (the copies of an input
// event that Qt hands to the widget are never freed): input handlers catch
// their own errors instead, with errorreport::run or guard().
#pragma once

#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
