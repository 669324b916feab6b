#include "application.h"

#include "platform/platform.h"
#include "startup.h"

#include <QApplication>
#include <QStringList>

namespace {

Application *current = nullptr;

// The value of Qt's -platform option, which chooses the display as QT_QPA_PLATFORM does.
QString platformArgument(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-platform" || argument == "--platform")
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return QString();
}

} // namespace

Application::Application(int &argc, char **argv) : argc(argc), argv(argv)
{
    current = this;
    // Lets the desktop match the windows to the menu entry (on Wayland by this name alone).
    QGuiApplication::setDesktopFileName(QStringLiteral("es.uvaldoria.Centinela"));
    make(argc < 2 && Platform::hasDisplay());
}

Application::~Application()
{
    current = nullptr;
}

void Application::make(bool windows)
{
    object.reset(); // one at a time
    if (windows)
        object = std::make_unique<QApplication>(argc, argv);
    else
        object = std::make_unique<QCoreApplication>(argc, argv);
    // Qt's own texts, with a window or without one, in the program's language.
    Startup::installQtTranslation(*object);
}

QApplication *Application::withWindows()
{
    if (auto *windows = qobject_cast<QApplication *>(QCoreApplication::instance()))
        return windows;
    if (!current || !Platform::hasDisplay(platformArgument(current->argc, current->argv)))
        return nullptr;
    current->make(true);
    return static_cast<QApplication *>(QCoreApplication::instance());
}
