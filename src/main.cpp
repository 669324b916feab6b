#include "application.h"
#include "arguments.h"
#include "mainwindow.h"
#include "platform/platform.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    Platform::loadLibrariesFromSystemOnly();
    Application application(argc, argv);
    Platform::provideStartCommand(QCoreApplication::applicationDirPath());
    // The options that open sites or print texts need no window, nor a display.
    if (const std::optional<int> status = Arguments::carryOut(QCoreApplication::arguments()))
        return *status;
    QApplication *windows = Application::withWindows();
    if (!windows)
        return Arguments::noDisplay();
    MainWindow window;
    Startup::setStyleAndShow(window);
    return windows->exec();
}
