#include "firstframe.h"
#include "mainwindow.h"
#include "startup.h"

#include <QApplication>
#include <QTemporaryDir>

// Centinela's start as main() does it, splash and first-start credential files included, on a
// data folder of its own so that no real user's credentials are read or created.
int main(int argc, char *argv[])
{
    const QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/.local/share")));

    QApplication application(argc, argv);
    Startup::installQtTranslation(application);
    MainWindow window;
    Startup::setStyleAndShow(window);
    return execUntilFirstFrame();
}
