#include "arguments.h"
#include "mainwindow.h"
#include "platform/platform.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    Platform::loadLibrariesFromSystemOnly();
    QApplication application(argc, argv);
    // Lets the desktop match the windows to the menu entry (on Wayland by this name alone).
    QGuiApplication::setDesktopFileName(QStringLiteral("es.uvaldoria.Centinela"));
    Platform::provideStartCommand(QCoreApplication::applicationDirPath());
    // Opening a site directly, or listing them, shows no window.
    if (const std::optional<int> status = Arguments::carryOut(QCoreApplication::arguments()))
        return *status;
    MainWindow window;
    Startup::setStyleAndShow(window);
    return application.exec();
}
