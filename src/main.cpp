#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MainWindow window;
    QApplication::setStyle(QStringLiteral("fusion"));
    window.show();
    return application.exec();
}
