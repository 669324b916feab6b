#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>

// Calls the handlers directly: QApplication would round a synthesised event's global position
// to whole pixels, and the fractions matter here.
class DraggedWindow : public MainWindow
{
public:
    void send(QEvent::Type type, QPointF position, QPointF global, Qt::MouseButton button)
    {
        QMouseEvent event(type, position, global, button, button, Qt::NoModifier);
        if (type == QEvent::MouseButtonPress)
            mousePressEvent(&event);
        else if (type == QEvent::MouseMove)
            mouseMoveEvent(&event);
        else
            mouseReleaseEvent(&event);
    }
};

// The main window: what each site launches in each client mode, the mode buttons, dragging,
// and that a long day of use leaves nothing behind.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void siteLaunchesItsClient_data();
    void siteLaunchesItsClient();
    void neitherModeCheckedRunsAnEmptyCommand();
    void modeButtons_data();
    void modeButtons();
    void lineOverCmdLimitIsNotHandedOver_data();
    void lineOverCmdLimitIsNotHandedOver();
    void dragMovesWindow_data();
    void dragMovesWindow();
    void releaseForgetsAnchor();
    void nothingAccumulates();

private:
    TestHome home;
};

namespace {

const QByteArray host = QByteArrayLiteral(CENTINELA_SCADA_HOST);

QMenu *submenu(QWidget *parent, const QString &title)
{
    const QList<QAction *> actions = parent->actions();
    for (QAction *action : actions) {
        if (action->menu() && action->text() == title)
            return action->menu();
    }
    return nullptr;
}

QRadioButton *modeButton(QWidget *window, bool html5)
{
    return window->findChild<QRadioButton *>(html5 ? "radioButtonHTML5" : "radioButtonJAVA");
}

} // namespace

void TestMainWindow::siteLaunchesItsClient_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QByteArray>("command");

    for (const Site &site : siteCatalogue) {
        int position = 0;
        int entries = 0;
        for (const Site &other : siteCatalogue) {
            if (qstrcmp(other.menu, site.menu) == 0) {
                position += &other < &site;
                ++entries;
            }
        }
        const QByteArray address = host + ':' + QByteArray::number(site.port);
        for (const bool html5 : {false, true}) {
            QTest::addRow("%s %s", site.action, html5 ? "html5" : "java")
                << QString::fromUtf8(site.menu) << position << entries
                << QString::fromLatin1(site.action) << QString::fromUtf8(site.text) << html5
                << (html5 ? "start http://" + address
                          : "start app multipleinstance " + address + " user: password:");
        }
    }
}

void TestMainWindow::siteLaunchesItsClient()
{
    QFETCH(QString, menu);
    QFETCH(int, position);
    QFETCH(int, entries);
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(bool, html5);
    QFETCH(QByteArray, command);

    MainWindow window;
    modeButton(&window, html5)->click();
    QMenu *holder = submenu(window.menuBar(), menu);
    if (!holder)
        holder = submenu(submenu(window.menuBar(), QStringLiteral("Campus")), menu);
    QVERIFY(holder);
    QCOMPARE(holder->actions().size(), entries);
    QAction *site = holder->actions().value(position);
    QCOMPARE(site->objectName(), action);
    QCOMPARE(site->text(), text);

    CommandRecorder recorder;
    site->trigger();
    site->trigger();
    QCOMPARE(recorder.commands, QByteArrayList({command, command}));
}

void TestMainWindow::neitherModeCheckedRunsAnEmptyCommand()
{
    MainWindow window;
    QRadioButton *java = modeButton(&window, false);
    java->setAutoExclusive(false);
    java->setChecked(false);

    CommandRecorder recorder;
    window.findChild<QAction *>("actionRectorado")->trigger();
    QCOMPARE(recorder.commands, QByteArrayList {QByteArray()});
}

void TestMainWindow::modeButtons_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QString>("javaLabel");
    QTest::addColumn<QString>("html5Label");

    const QString red = QStringLiteral("color: rgb(255, 0, 0)");
    const QString black = QStringLiteral("color: rgb(0, 0, 0)");
    QTest::newRow("HTML5 clicked") << QStringList {"HTML5"} << true << black << red;
    QTest::newRow("Java clicked after HTML5")
        << QStringList {"HTML5", "Java"} << false << red << black;
    QTest::newRow("checked Java clicked again") << QStringList {"Java"} << false << red << black;
    // Checking from code changes no colour: the form's style sheets stay.
    QTest::newRow("HTML5 checked from code")
        << QStringList {"setChecked"} << true
        << "border-image: url(:/imagenes/TRANSP.png);\ncolor: rgb(255, 0, 0);\n"
        << "border-image: url(:/imagenes/TRANSP.png);\ncolor: rgb(0, 0, 0);";
}

void TestMainWindow::modeButtons()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, html5);
    QFETCH(QString, javaLabel);
    QFETCH(QString, html5Label);

    MainWindow window;
    for (const QString &click : clicks) {
        if (click == QLatin1String("setChecked"))
            modeButton(&window, true)->setChecked(true);
        else
            modeButton(&window, click == QLatin1String("HTML5"))->click();
    }
    QCOMPARE(modeButton(&window, true)->isChecked(), html5);
    QCOMPARE(modeButton(&window, false)->isChecked(), !html5);
    QCOMPARE(window.findChild<QLabel *>("label_2")->styleSheet(), javaLabel);
    QCOMPARE(window.findChild<QLabel *>("label_3")->styleSheet(), html5Label);

    CommandRecorder recorder;
    window.findChild<QAction *>("actionQu_mica")->trigger();
    QVERIFY(recorder.commands.value(0).startsWith(html5 ? "start http://" : "start app "));
}

void TestMainWindow::lineOverCmdLimitIsNotHandedOver_data()
{
    QTest::addColumn<int>("excess");
    QTest::newRow("exactly the limit") << 0;
    QTest::newRow("one character over") << 1;
}

void TestMainWindow::lineOverCmdLimitIsNotHandedOver()
{
    QFETCH(int, excess);

    Platform::CommandProcessor cmd = Platform::windowsCmd();
    cmd.throughCodePage = [](const QString &value) { return value; };
    const int fixed = CommandLine::javaClient(host, 9083, {}, {}, cmd).size();
    const CredentialStore store(Platform::dataFolder());
    store.createFolder();
    QVERIFY(store.save(QString(), QString(8191 - fixed + excess, u'x')));
    const auto previous = Platform::setCommandProcessor(cmd);
    MainWindow window;
    CommandRecorder recorder;
    QString title, text;
    if (excess > 0) {
        whenVisible<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
    }
    window.findChild<QAction *>("actionQu_mica")->trigger();
    Platform::setCommandProcessor(previous);
    QVERIFY(QDir(store.folder()).removeRecursively());

    if (excess == 0) {
        QCOMPARE(recorder.commands.value(0).size(), 8191);
        return;
    }
    QVERIFY(recorder.commands.isEmpty());
    QCOMPARE(title, QStringLiteral("Centinela"));
    QCOMPARE(text,
             QStringLiteral("No se ha podido abrir el cliente: la orden supera los 8191 caracteres "
                            "que admite el intérprete de órdenes. Use un usuario o una contraseña "
                            "más cortos."));
}

void TestMainWindow::dragMovesWindow_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPointF>("grab");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QPoint>("expected");

    // The anchor is the grab position rounded half away from zero; the window lands 30 px above
    // the plain difference, cut toward zero. A grab that rounds to (0, 0) is taken again.
    QTest::newRow("left") << Qt::LeftButton << QPointF(10, 20) << QPointF(300, 400)
                          << QPoint(290, 350);
    QTest::newRow("right") << Qt::RightButton << QPointF(10, 20) << QPointF(300, 400)
                           << QPoint(290, 350);
    QTest::newRow("middle") << Qt::MiddleButton << QPointF(10, 20) << QPointF(300, 400)
                            << QPoint(290, 350);
    QTest::newRow("rounding") << Qt::LeftButton << QPointF(10.4, 20.6) << QPointF(300.7, 400.2)
                              << QPoint(290, 349);
    QTest::newRow("halves away from zero")
        << Qt::LeftButton << QPointF(2.5, -2.5) << QPointF(100, 100) << QPoint(97, 73);
    QTest::newRow("truncation toward zero")
        << Qt::LeftButton << QPointF(10, 10) << QPointF(0.3, 39.5) << QPoint(-9, 0);
    QTest::newRow("grab at the origin taken again")
        << Qt::LeftButton << QPointF(0.4, -0.4) << QPointF(200, 300) << QPoint(50, 60);
}

void TestMainWindow::dragMovesWindow()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPointF, grab);
    QFETCH(QPointF, pointer);
    QFETCH(QPoint, expected);

    DraggedWindow window;
    window.move(50, 60);
    window.send(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(55, 65), button);
    QCOMPARE(window.cursor().shape(), Qt::ClosedHandCursor);
    window.send(QEvent::MouseMove, grab, grab + QPointF(50, 60), button);
    QCOMPARE(window.pos(), QPoint(50, 60));
    window.send(QEvent::MouseMove, pointer - QPointF(50, 60), pointer, button);
    QCOMPARE(window.pos(), expected);
}

void TestMainWindow::releaseForgetsAnchor()
{
    DraggedWindow window;
    window.move(50, 60);
    window.send(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(55, 65), Qt::LeftButton);
    window.send(QEvent::MouseMove, QPointF(10, 10), QPointF(60, 70), Qt::LeftButton);
    window.send(QEvent::MouseButtonRelease, QPointF(10, 10), QPointF(60, 70), Qt::LeftButton);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);

    // The next drag takes its own anchor instead of moving at once.
    window.send(QEvent::MouseMove, QPointF(20, 20), QPointF(70, 80), Qt::LeftButton);
    QCOMPARE(window.pos(), QPoint(50, 60));
    window.send(QEvent::MouseMove, QPointF(0, 0), QPointF(120, 180), Qt::LeftButton);
    QCOMPARE(window.pos(), QPoint(100, 130));
}

void TestMainWindow::nothingAccumulates()
{
    MainWindow window;
    QMetaObject::invokeMethod(&window, "bienvenidaFin");
    CommandRecorder recorder;
    const auto oneRound = [&window] {
        for (const Site &site : siteCatalogue)
            window.findChild<QAction *>(site.action)->trigger();
        whenVisible<DialogUser>([](QDialog *dialog) { dialog->reject(); });
        window.findChild<QAction *>("actionConfigurar_usuario")->trigger();
        whenVisible<DialogInstrucciones>([](QDialog *dialog) { dialog->reject(); });
        window.findChild<QAction *>("actionInstrucciones")->trigger();
        whenVisible<DialogConfAdicionales>([](QDialog *dialog) { dialog->reject(); });
        window.findChild<QAction *>("actionConfiguraciones_extras")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return QList<qsizetype> {window.findChildren<QObject *>().size(),
                                 QApplication::topLevelWidgets().size(),
                                 QDir(QStringLiteral("/proc/self/fd")).count()};
    };
    const QList<qsizetype> first = oneRound();
    oneRound();
    QCOMPARE(oneRound(), first); // objects, windows, open files
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
