// A long day of use in one process: thousands of launches, hundreds of dialogs and splashes.
// Whatever one of them leaves behind (memory, open files, windows, child processes) adds up
// and shows here. Prints one line per workload; exits with 1 if anything grew.
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "platform/platform.h"
#include "startup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPixmapCache>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

#ifdef CENTINELA_SANITIZED
// The sanitizer runtime's (GCC ships no header for it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr double memoryAllowanceMiB = 8;

// The resident size; under AddressSanitizer the heap in use instead, as its allocator keeps
// freed memory in quarantine and the resident size grows without any leak.
double memoryMiB()
{
#ifdef CENTINELA_SANITIZED
    return __sanitizer_get_current_allocated_bytes() / 1048576.0;
#else
    QFile statm(QStringLiteral("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    return statm.readAll().split(' ').value(1).toDouble() * sysconf(_SC_PAGESIZE) / 1048576.0;
#endif
}

int openFiles()
{
    return QDir(QStringLiteral("/proc/self/fd")).count();
}

bool childLeft()
{
    return !(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD);
}

// Answers the next dialog of type T from inside its exec(), as a user closing it would.
template<typename T> void rejectWhenShown()
{
    QTimer::singleShot(0, qApp, [] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<T *>(window); dialog && dialog->isVisible())
                return dialog->reject();
        }
        rejectWhenShown<T>();
    });
}

// Runs `step` `count` times and reports what grew after the first tenth, which warms up the
// toolkit's caches.
bool soak(const char *name, int count, const std::function<void(int)> &step)
{
    double memoryBefore = 0;
    int filesBefore = 0;
    const qsizetype windowsBefore = QApplication::topLevelWidgets().size();
    for (int i = 0; i < count; ++i) {
        if (i == count / 10) {
            memoryBefore = memoryMiB();
            filesBefore = openFiles();
        }
        step(i);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const double memoryGrowth = memoryMiB() - memoryBefore;
    const int filesGrowth = openFiles() - filesBefore;
    const qsizetype windowsGrowth = QApplication::topLevelWidgets().size() - windowsBefore;
    const bool child = childLeft();
    std::printf("%-30s %6d times: memory %6.1f MiB, %+.2f; open files %+d; windows %+lld%s\n", name,
                count, memoryBefore, memoryGrowth, filesGrowth,
                static_cast<long long>(windowsGrowth), child ? "; a child process left" : "");
    return memoryGrowth <= memoryAllowanceMiB && filesGrowth <= 0 && windowsGrowth == 0 && !child;
}

} // namespace

int main(int argc, char *argv[])
{
    // A home of its own, and a "start" that only counts, first on PATH.
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    QFile start(home.filePath(QStringLiteral("start")));
    start.open(QIODevice::WriteOnly);
    start.write("#!/bin/sh\necho \"$1\" >> \"$HOME/started\"\n");
    start.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    start.close();
    qputenv("PATH", QFile::encodeName(home.path()) + ':' + qgetenv("PATH"));

    // The offscreen platform warns at every dialog that it cannot pass on size hints.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        if (!message.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication application(argc, argv);
    Startup::installQtTranslation(application);
    // The style caches the pixmaps of the buttons it draws under a key new for each dialog,
    // up to the cache's limit: growth that is no leak.
    QPixmapCache::setCacheLimit(0);
    const int scale = qEnvironmentVariableIntValue("CENTINELA_SOAK_SCALE") > 0
        ? qEnvironmentVariableIntValue("CENTINELA_SOAK_SCALE")
        : 1;

    MainWindow window;
    QMetaObject::invokeMethod(&window, "bienvenidaFin");
    // The sites: the entries of the campus submenus and of "Otras apps".
    QList<QAction *> sites;
    const QList<QMenu *> menus = window.findChildren<QMenu *>();
    for (const QMenu *menu : menus) {
        if (qobject_cast<QMenu *>(menu->parent()) || menu->title() == QLatin1String("Otras apps"))
            sites += menu->actions();
    }
    const auto launch = [&](int i) {
        window.findChild<QRadioButton *>(i % 2 ? "radioButtonHTML5" : "radioButtonJAVA")->click();
        sites.at(i % sites.size())->trigger();
    };
    const auto trigger
        = [&window](const char *action) { window.findChild<QAction *>(action)->trigger(); };

    bool ok = true;
    {
        const auto previous = Platform::setCommandRunner([](const QByteArray &) { return 0; });
        ok &= soak("launches, captured", 10000 * scale, launch);
        Platform::setCommandRunner(previous);
    }
    ok &= soak("launches through system()", 200 * scale, launch);
    ok &= soak("user configuration dialog", 200 * scale, [&](int) {
        rejectWhenShown<DialogUser>();
        trigger("actionConfigurar_usuario");
    });
    ok &= soak("instructions dialog", 200 * scale, [&](int) {
        rejectWhenShown<DialogInstrucciones>();
        trigger("actionInstrucciones");
    });
    ok &= soak("additional settings dialog", 200 * scale, [&](int) {
        rejectWhenShown<DialogConfAdicionales>();
        trigger("actionConfiguraciones_extras");
    });
    ok &= soak("main window with its splash", 200 * scale, [](int i) {
        // Half end the way the timer ends them, half are closed with the splash up.
        MainWindow started;
        QCoreApplication::processEvents();
        if (i % 2)
            QMetaObject::invokeMethod(&started, "bienvenidaFin");
    });
    const qsizetype started = QFile(home.filePath(QStringLiteral("started"))).size();
    std::printf("%s\n", ok && started > 0 ? "nothing accumulates" : "SOMETHING ACCUMULATES");
    return ok && started > 0 ? 0 : 1;
}
