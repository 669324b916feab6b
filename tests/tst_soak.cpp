#include "dialogs/dialogbienvenida.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "fakecommands.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "platform/platform.h"
#include "sitecatalogue.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPixmapCache>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

// A long day of use in one process: thousands of launches, hundreds of dialogs and splashes.
// Whatever one of them leaves behind (memory, file descriptors, windows, child processes)
// adds up and shows here.
class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void nothingAccumulates_data();
    void nothingAccumulates();

private:
    void runOnce(int iteration);
    void launch(int iteration);
    template<typename Dialog> void openAndClose(const char *action);

    FakeCommands bin;
    std::unique_ptr<MainWindow> window;
    QList<QAction *> sites;
    int answered = 0;
};

enum class Workload { CapturedLaunch, SystemLaunch, UserDialog, Instructions, Settings, Splash };
Q_DECLARE_METATYPE(Workload)

#ifdef CENTINELA_SANITIZED
// The sanitizer runtime's (GCC ships no header for it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr qint64 memoryAllowance = 8 * 1024 * 1024;
constexpr int fdAllowance = 2;

// Records the first argument of every call, one a line: "app" or the HTML5 address.
const char startStub[] = "#!/bin/sh\n"
                         "printf '%s\\n' \"$1\" >> \"$CENTINELA_RECORD\"\n";

// The resident size; under AddressSanitizer the heap in use instead, as its allocator holds
// freed memory in quarantine and the resident size grows without any leak.
qint64 memoryInUse()
{
#ifdef CENTINELA_SANITIZED
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
#endif
}

int openDescriptors()
{
    DIR *folder = opendir("/proc/self/fd");
    if (!folder)
        return -1;
    int count = 0;
    while (const dirent *entry = readdir(folder)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    closedir(folder);
    return count - 1; // the listing's own
}

bool hasChildren()
{
    return !(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD);
}

// Counts the launches of each client mode instead of keeping thousands of command lines.
class LaunchCounter
{
public:
    LaunchCounter()
        : previous(Platform::setCommandRunner([this](const QByteArray &command) {
              if (command.startsWith("start app multipleinstance "))
                  ++java;
              else if (command.startsWith("start http://"))
                  ++html5;
              else
                  ++other;
              return 0;
          }))
    { }
    ~LaunchCounter() { Platform::setCommandRunner(previous); }
    LaunchCounter(const LaunchCounter &) = delete;
    LaunchCounter &operator=(const LaunchCounter &) = delete;

    int java = 0;
    int html5 = 0;
    int other = 0;

private:
    Platform::CommandRunner previous;
};

} // namespace

void TestSoak::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    // The style caches the pixmaps of the buttons it draws under a key that is new for each
    // new dialog, up to the cache's fixed limit: growth that is no leak, so out of the way.
    QPixmapCache::setCacheLimit(0);
    QVERIFY(bin.isValid());
    QVERIFY(bin.add(QStringLiteral("start"), startStub));
    qputenv("CENTINELA_RECORD", QFile::encodeName(bin.filePath(QStringLiteral("record"))));

    window = std::make_unique<MainWindow>();
    QVERIFY(QMetaObject::invokeMethod(window.get(), "bienvenidaFin"));
    for (const Site &site : siteCatalogue) {
        sites.append(window->findChild<QAction *>(site.action));
        QVERIFY2(sites.last(), site.action);
    }
}

void TestSoak::cleanupTestCase()
{
    window.reset();
}

void TestSoak::launch(int iteration)
{
    const char *mode = iteration % 2 ? "radioButtonHTML5" : "radioButtonJAVA";
    window->findChild<QRadioButton *>(mode)->click();
    sites.at(iteration % sites.size())->trigger();
}

template<typename Dialog> void TestSoak::openAndClose(const char *action)
{
    whenVisible<Dialog>([this](Dialog *dialog) {
        ++answered;
        dialog->reject();
    });
    window->findChild<QAction *>(action)->trigger();
}

void TestSoak::nothingAccumulates_data()
{
    QTest::addColumn<Workload>("workload");
    QTest::addColumn<int>("count");

    QTest::newRow("launches through the capture seam") << Workload::CapturedLaunch << 10000;
    QTest::newRow("launches through system()") << Workload::SystemLaunch << 200;
    QTest::newRow("user configuration dialog") << Workload::UserDialog << 200;
    QTest::newRow("instructions dialog") << Workload::Instructions << 200;
    QTest::newRow("additional settings dialog") << Workload::Settings << 200;
    QTest::newRow("welcome splash") << Workload::Splash << 200;
}

void TestSoak::nothingAccumulates()
{
    QFETCH(Workload, workload);
    QFETCH(int, count);
    // The first tenth warms the toolkit's caches; only what grows after it counts.
    const int firstRound = count / 10;

    QFile::remove(bin.filePath(QStringLiteral("record")));
    std::unique_ptr<LaunchCounter> counter;
    if (workload == Workload::CapturedLaunch)
        counter = std::make_unique<LaunchCounter>();
    answered = 0;
    int splashesSeen = 0;
    const int windowsBefore = QApplication::topLevelWidgets().size();

    qint64 memoryAfterFirstRound = 0;
    int fdsAfterFirstRound = 0;
    for (int iteration = 0; iteration < count; ++iteration) {
        if (iteration == firstRound) {
            memoryAfterFirstRound = memoryInUse();
            fdsAfterFirstRound = openDescriptors();
        }
        switch (workload) {
        case Workload::CapturedLaunch:
        case Workload::SystemLaunch:
            launch(iteration);
            break;
        case Workload::UserDialog:
            openAndClose<DialogUser>("actionConfigurar_usuario");
            break;
        case Workload::Instructions:
            openAndClose<DialogInstrucciones>("actionInstrucciones");
            break;
        case Workload::Settings:
            openAndClose<DialogConfAdicionales>("actionConfiguraciones_extras");
            break;
        case Workload::Splash: {
            // Half of them end the way the timer ends them, half are closed with the splash up.
            MainWindow started;
            QCoreApplication::processEvents();
            for (QWidget *widget : QApplication::topLevelWidgets())
                splashesSeen += qobject_cast<DialogBienvenida *>(widget) && widget->isVisible();
            if (iteration % 2)
                QMetaObject::invokeMethod(&started, "bienvenidaFin");
            break;
        }
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const qint64 memoryAfterRun = memoryInUse();
    const int fdsAfterRun = openDescriptors();
    qInfo("%d times: memory %.1f MiB after the first tenth, %+.2f MiB after all; "
          "%d descriptors, %+d",
          count, memoryAfterFirstRound / 1048576.0,
          (memoryAfterRun - memoryAfterFirstRound) / 1048576.0, fdsAfterFirstRound,
          fdsAfterRun - fdsAfterFirstRound);

    switch (workload) {
    case Workload::CapturedLaunch:
        QCOMPARE(counter->java, count / 2);
        QCOMPARE(counter->html5, count / 2);
        QCOMPARE(counter->other, 0);
        break;
    case Workload::SystemLaunch: {
        QFile record(bin.filePath(QStringLiteral("record")));
        QVERIFY(record.open(QIODevice::ReadOnly));
        const QList<QByteArray> firstArguments = record.readAll().split('\n');
        QCOMPARE(firstArguments.size(), count + 1); // after the last line feed
        QCOMPARE(firstArguments.count("app"), count / 2);
        break;
    }
    case Workload::Splash:
        QCOMPARE(splashesSeen, count);
        break;
    default:
        QCOMPARE(answered, count);
    }
    QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
    QVERIFY2(memoryAfterRun - memoryAfterFirstRound <= memoryAllowance, "memory use keeps growing");
    QVERIFY2(fdsAfterRun - fdsAfterFirstRound <= fdAllowance, "file descriptors are left open");
    QVERIFY2(!hasChildren(), "a child process is left behind");
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
