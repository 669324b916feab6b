#include "firstframe.h"

#include <QApplication>
#include <QMainWindow>

// The empty floor: an empty main window of Centinela's size in the same style, and nothing else.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("fusion"));
    QMainWindow window;
    window.resize(359, 188);
    window.show();
    return execUntilFirstFrame();
}
