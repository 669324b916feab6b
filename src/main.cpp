#include "mainwindow.h"
#include "platform/platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    Platform::provideStartCommand(QCoreApplication::applicationDirPath());
    MainWindow window;
    QApplication::setStyle(QStringLiteral("fusion"));
    window.show();
    return application.exec();
}
