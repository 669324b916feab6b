#ifndef APPLICATION_H
#define APPLICATION_H

#include <QtGlobal>

#include <memory>

QT_BEGIN_NAMESPACE
class QApplication;
class QCoreApplication;
QT_END_NAMESPACE

// The program's one application object. While nothing is shown it is a console one, so that
// the command line works with no display at all (over ssh, from cron, in a service); it becomes
// one that shows windows when a window or a message box is really to be shown.
class Application
{
public:
    // Shows windows from the start when there are no arguments to read first and a display.
    Application(int &argc, char **argv);
    ~Application();
    Q_DISABLE_COPY(Application)

    // The application object that shows windows, made from the console one on the first call;
    // nullptr where there is no display to show them on. Without an Application (as in the
    // suites) the QApplication that there is, if any.
    static QApplication *withWindows();

private:
    void make(bool windows);

    int &argc;
    char **argv;
    std::unique_ptr<QCoreApplication> object;
};

#endif // APPLICATION_H
