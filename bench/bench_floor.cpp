#include <QApplication>
#include <QMainWindow>
#include <QTimer>

// The floor: an empty main window of Centinela's size in the same style, and nothing else.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("fusion"));
    QMainWindow window;
    window.resize(359, 188);
    window.show();
    // Out at the first idle: what is measured is getting there.
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
