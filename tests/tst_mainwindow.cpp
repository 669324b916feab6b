#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialogbienvenida.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "support.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

// Calls the handlers directly: QApplication would round a synthesised event's global position
// to whole pixels, and the fractions matter here.
class DraggedWindow : public MainWindow
{
public:
    enum Step { Press, Move, Release };
    void drag(Step step, QPointF position, QPointF global, Qt::MouseButton button)
    {
        QMouseEvent event(QEvent::MouseMove, position, global, button, button, Qt::NoModifier);
        step == Press      ? mousePressEvent(&event)
            : step == Move ? mouseMoveEvent(&event)
                           : mouseReleaseEvent(&event);
    }
};

namespace {

// The sites in menu order as a user meets them, written out by hand so that the tests do not
// trust the program's own tables: action, port, text, icon; then how many each menu holds.
using Site = std::tuple<const char *, int, const char *, const char *>;
// clang-format off
const Site sites[] = {
    {"actionArquitectura_T_cnica", 9081, "Arquitectura Técnica", "ARQTecnica.png"},
    {"actionArquitectura_Superior", 9082, "Arquitectura Superior", "ARQSuperior.png"},
    {"actionQu_mica", 9083, "Química", "Quimica.png"}, {"actionFarmacia", 9084, "Farmacia", "Farmacia.png"},
    {"actionF_sica", 9085, "Física", "Fisica.png"}, {"actionMatem_ticas", 9086, "Matemáticas", "Matematicas.png"},
    {"actionBiolog_a", 9087, "Biología", "Biologia.png"}, {"actionInform_tica", 9088, "Informática", "Informatica.png"},
    {"actionEdificio_Ocre", 9089, "Edificio Ocre", "EOcre.png"},
    {"actionInstituto_de_Idiomas", 9090, "Instituto de Idiomas", "Idiomas.png"},
    {"actionNEXO_1", 9091, "NEXO 1", "Nexo1.png"}, {"actionNEXO_2", 9092, "NEXO 2", "Nexo2.png"},
    {"actionCRAI", 9097, "CRAI", "CRAI.png"}, {"actionMolinar", 9094, "Molinar", "Molinar.png"},
    {"actionMedicina", 9105, "Medicina", "Edificio.png"}, {"actionDecanato", 9104, "Decanato", "Edificio.png"},
    {"actionAnat_mico", 9106, "Anatómico", "Edificio.png"},
    {"actionPabell_n_Docente", 9103, "Pabellón Docente", "Edificio.png"},
    {"actionOdontolog_a", 9102, "Odontología", "Edificio.png"}, {"actionETSI", 9150, "ETSI", "Edificio.png"},
    {"actionEnfermer_a", 9107, "Enfermería", "Edificio.png"}, {"actionRectorado", 9121, "Rectorado", "Edificio.png"},
    {"actionEcon_micas_2", 9111, "Económicas", "Edificio.png"}, {"actionSicolog_a", 9112, "Psicología", "Edificio.png"},
    {"actionTurismo_y_Finanzas", 9113, "Turismo y Finanzas", "Edificio.png"},
    {"actionCentro_Internacional", 9130, "Centro Internacional", "Edificio.png"},
    {"actionIngenier_a_Agron_mica", 9096, "Ingeniería Agronómica", "Edificio.png"},
    {"actionAulario_Pinar", 9095, "Aulario Pinar", "Edificio.png"}, {"actionBrezal", 9120, "Brezal", "Edificio.png"},
    {"actionBellas_Artes", 9122, "Bellas Artes", "Edificio.png"},
    {"actionAplicaci_n_superior", 9600, "Aplicación superior", "Client.png"},
    {"actionSeguridad", 9500, "Seguridad", "Client.ico"},
};
const std::pair<const char *, int> siteMenus[] = {
    {"Robledal", 14}, {"Norte", 7}, {"Campus Central", 1}, {"Fundicion-Vallehondo", 3},
    {"Periférico", 5}, {"Otras apps", 2},
};
// clang-format on

const QByteArray host = QByteArrayLiteral(CENTINELA_SCADA_HOST);

// Makes one of the windows, for the tables of what the windows show.
using WindowMaker = std::function<std::unique_ptr<QWidget>()>;
template<typename Window> WindowMaker make()
{
    return [] { return std::make_unique<Window>(); };
}

QRadioButton *modeButton(QWidget *window, bool html5)
{
    return window->findChild<QRadioButton *>(html5 ? "radioButtonHTML5" : "radioButtonJAVA");
}

} // namespace

Q_DECLARE_METATYPE(WindowMaker)

// The main window and its dialogs: each site entry as shown and as launched in each client
// mode, what each window offers a user and a screen reader, dragging, the welcome splash, the
// fix of "Configuraciones extras", and that a long day of use leaves nothing behind.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void siteEntry_data()
    {
        QTest::addColumn<int>("site");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("html5");
        int site = 0;
        for (const auto &[menu, count] : siteMenus) {
            for (int position = 0; position < count; ++position, ++site) {
                const char *action = std::get<0>(sites[site]);
                QTest::addRow("%s java", action) << site << menu << position << false;
                QTest::addRow("%s html5", action) << site << menu << position << true;
            }
        }
        QCOMPARE(site, int(std::size(sites)));
    }

    // Where the entry is, what it shows, and what it launches in each client mode, chosen by a
    // click that colours the chosen mode's label red and the other's black.
    void siteEntry()
    {
        QFETCH(int, site);
        QFETCH(QString, menu);
        QFETCH(int, position);
        QFETCH(bool, html5);
        const auto &[action, port, text, icon] = sites[site];

        MainWindow window;
        auto *entry = window.findChild<QAction *>(action);
        QCOMPARE(entry->text(), QString::fromUtf8(text));
        QCOMPARE(entry->icon().pixmap(32).toImage(),
                 QIcon(QStringLiteral(":/imagenes/") + icon).pixmap(32).toImage());
        const auto *holder = qobject_cast<QMenu *>(entry->associatedObjects().value(0));
        QCOMPARE(holder ? holder->title() : QString(), menu);
        QCOMPARE(holder->actions().indexOf(entry), position);

        modeButton(&window, html5)->click();
        QVERIFY(!modeButton(&window, !html5)->isChecked());
        const QStringList colours {"color: rgb(255, 0, 0)", "color: rgb(0, 0, 0)"};
        QCOMPARE(window.findChild<QLabel *>("label_2")->styleSheet(), colours.at(html5));
        QCOMPARE(window.findChild<QLabel *>("label_3")->styleSheet(), colours.at(!html5));
        CommandRecorder recorder;
        entry->trigger();
        entry->trigger();
        const QByteArray address = host + ':' + QByteArray::number(port);
        const QByteArray command = html5
            ? "start http://" + address
            : "start app multipleinstance " + address + " user: password:";
        QCOMPARE(recorder.commands, QByteArrayList({command, command}));
    }

    void lineOverCmdLimitIsNotHandedOver_data()
    {
        QTest::addColumn<int>("excess");
        QTest::newRow("exactly the limit") << 0;
        QTest::newRow("one character over") << 1;
    }

    void lineOverCmdLimitIsNotHandedOver()
    {
        QFETCH(int, excess);

        Platform::CommandProcessor cmd = Platform::windowsCmd();
        cmd.throughCodePage = [](const QString &value) { return value; };
        const int fixed = CommandLine::javaClient(host, 9083, {}, {}, cmd).size();
        const CredentialStore store(Platform::dataFolder());
        store.createFolder();
        QVERIFY(store.save({}, QString(8191 - fixed + excess, u'x')));
        const auto previous = Platform::setCommandProcessor(cmd);
        MainWindow window;
        CommandRecorder recorder;
        QStringList warning;
        whenVisible<QMessageBox>(&window, [&warning](QMessageBox *box) {
            warning << box->windowTitle() << box->text();
            box->close();
        });
        window.findChild<QAction *>("actionQu_mica")->trigger();
        Platform::setCommandProcessor(previous);
        QDir(store.folder()).removeRecursively();

        QCOMPARE(recorder.commands.value(0).size(), excess > 0 ? 0 : 8191);
        QCOMPARE(warning,
                 excess > 0 ? QStringList({"Centinela",
                                           "No se ha podido abrir el cliente: la orden "
                                           "supera los 8191 caracteres que admite el "
                                           "intérprete de órdenes. Use un usuario o una "
                                           "contraseña más cortos."})
                            : QStringList());
    }

    // What a user, or a screen reader, finds in each window: its title, a name for every
    // control and picture, the labels of the fields, and the states that matter to use it.
    void windowForTheUser_data()
    {
        QTest::addColumn<WindowMaker>("maker");
        QTest::addColumn<QString>("title");
        // object=accessible name, field<its label's text, object.property=value or ~part of it
        QTest::addColumn<QStringList>("checks");
        QTest::newRow("MainWindow")
            << make<MainWindow>() << "Centinela"
            << QStringList {
                   "pushButtonUser=Configurar usuario", "label=Centinela",
                   "radioButtonJAVA=Cliente JAVA",      "radioButtonHTML5=Cliente HTML 5",
                   "radioButtonJAVA<Cliente JAVA",      "radioButtonHTML5<Cliente HTML 5",
                   "radioButtonJAVA.checked=true",      "label_2.styleSheet~rgb(255, 0, 0)",
                   "label_3.styleSheet~rgb(0, 0, 0)"};
        QTest::newRow("DialogUser")
            << make<DialogUser>() << "Configuración de usuario"
            << QStringList {"labelLogo=Centinela",           "lineEditUser=Usuario",
                            "lineEditPass=Contraseña",       "pushButtonBU=Borrar datos de usuario",
                            "lineEditUser<Usuario        :", "lineEditPass<Contraseña :",
                            "lineEditUser.echoMode=Normal",  "lineEditPass.echoMode=Password"};
        QTest::newRow("DialogBienvenida")
            << make<DialogBienvenida>() << "Bienvenido" << QStringList {"label=Centinela"};
        QTest::newRow("DialogInstrucciones")
            << make<DialogInstrucciones>() << "Instrucciones"
            << QStringList {"plainTextEdit.readOnly=true",
                            "plainTextEdit.plainText~un acceso directo del cliente Java llamado "
                            "\"app\""};
        QTest::newRow("DialogConfAdicionales")
            << make<DialogConfAdicionales>() << "Configuraciones adicionales"
            << QStringList {"pushButtonGrafica<La herramienta tooltip de las gráficas en el \n"
                            "cliente JAVA no se visualiza correctamente"};
    }

    void windowForTheUser()
    {
        QFETCH(WindowMaker, maker);
        QFETCH(QString, title);
        QFETCH(QStringList, checks);

        const std::unique_ptr<QWidget> window = maker();
        QCOMPARE(window->windowTitle(), title);
        const auto child = [&window](const QString &name) {
            return QAccessible::queryAccessibleInterface(window->findChild<QWidget *>(name));
        };
        // Every control that takes the focus, and every picture, which must show one.
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            const auto *picture = qobject_cast<QLabel *>(widget);
            if (picture && picture->text().isEmpty())
                QVERIFY2(!picture->pixmap().isNull(), qPrintable(widget->objectName()));
            else if (widget->focusPolicy() == Qt::NoFocus)
                continue;
            const QString name
                = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
        }
        for (const QString &check : checks) {
            const QString object = check.section(QRegularExpression("[=<.~]"), 0, 0);
            const QString value = check.section(QRegularExpression("[=<~]"), 1);
            if (check.contains(u'<')) {
                const auto relations = child(object)->relations(QAccessible::Label);
                QCOMPARE(relations.size(), 1);
                QCOMPARE(relations.first().first->text(QAccessible::Name), value);
            } else if (check.contains(u'.')) {
                const QByteArray property
                    = check.section(u'.', 1).section(QRegularExpression("[=~]"), 0, 0).toLatin1();
                const QString actual = child(object)->object()->property(property).toString();
                QVERIFY2(check.contains(u'~') ? actual.contains(value) : actual == value,
                         qPrintable(actual));
            } else {
                QCOMPARE(child(object)->text(QAccessible::Name), value);
            }
        }
    }

    void dragMovesWindow_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPointF>("grab");
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<QPoint>("expected");
        // The anchor is the grab position rounded half away from zero; the window lands 30 px above
        // the plain difference, cut toward zero. A grab that rounds to (0, 0) is taken again.
        // clang-format off
        QTest::newRow("left") << Qt::LeftButton << QPointF(10, 20) << QPointF(300, 400) << QPoint(290, 350);
        QTest::newRow("rounding, right button") << Qt::RightButton << QPointF(10.4, 20.6) << QPointF(300.7, 400.2) << QPoint(290, 349);
        QTest::newRow("halves away from zero, middle button") << Qt::MiddleButton << QPointF(2.5, -2.5) << QPointF(100, 100) << QPoint(97, 73);
        QTest::newRow("truncation toward zero") << Qt::LeftButton << QPointF(10, 10) << QPointF(0.3, 39.5) << QPoint(-9, 0);
        QTest::newRow("grab at the origin taken again") << Qt::LeftButton << QPointF(0.4, -0.4) << QPointF(200, 300) << QPoint(50, 60);
        // clang-format on
    }

    void dragMovesWindow()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPointF, grab);
        QFETCH(QPointF, pointer);
        QFETCH(QPoint, expected);

        DraggedWindow window;
        const QPointF origin(50, 60);
        window.move(origin.toPoint());
        // A drag that ends before: its release forgets its anchor and restores the arrow.
        window.drag(DraggedWindow::Press, {5, 5}, origin, button);
        window.drag(DraggedWindow::Move, {7, 7}, origin + QPointF(7, 7), button);
        window.drag(DraggedWindow::Release, {7, 7}, origin + QPointF(7, 7), button);
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
        window.drag(DraggedWindow::Press, {5, 5}, origin, button);
        QCOMPARE(window.cursor().shape(), Qt::ClosedHandCursor);
        window.drag(DraggedWindow::Move, grab, grab + origin, button);
        QCOMPARE(window.pos(), origin.toPoint());
        window.drag(DraggedWindow::Move, pointer - origin, pointer, button);
        QCOMPARE(window.pos(), expected);
    }

    void nothingAccumulates()
    {
        MainWindow window;
        QMetaObject::invokeMethod(&window, "bienvenidaFin");
        CommandRecorder recorder;
        // Each dialog ends through its own button, as a user ends it.
        const auto closeBy = [](const char *button) {
            return [button](QWidget *dialog) { dialog->findChild<QPushButton *>(button)->click(); };
        };
        const auto oneRound = [&] {
            for (const Site &site : sites)
                window.findChild<QAction *>(std::get<0>(site))->trigger();
            whenVisible<DialogUser>(&window, [](QDialog *dialog) { dialog->reject(); });
            window.findChild<QAction *>("actionConfigurar_usuario")->trigger();
            whenVisible<DialogInstrucciones>(&window, closeBy("pushButton"));
            window.findChild<QAction *>("actionInstrucciones")->trigger();
            whenVisible<DialogConfAdicionales>(&window, closeBy("pushButtonSalir"));
            window.findChild<QAction *>("actionConfiguraciones_extras")->trigger();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return QList<qsizetype> {window.findChildren<QObject *>().size(),
                                     QApplication::topLevelWidgets().size(),
                                     QDir(QStringLiteral("/proc/self/fd")).count()};
        };
        const QList<qsizetype> first = oneRound();
        oneRound();
        QCOMPARE(oneRound(), first); // objects, windows, open files
        window.findChild<QAction *>("actionSalir")->trigger();
        QVERIFY(!window.isVisible());
    }

    void splashHoldsMainWindowForThreeSeconds()
    {
        QElapsedTimer clock;
        clock.start();
        MainWindow window;
        window.show(); // as the entry does: it must not restore the window
        QPointer<DialogBienvenida> splash
            = qobject_cast<DialogBienvenida *>(QApplication::activeModalWidget());
        QVERIFY(splash && splash->isVisible());
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        QPointer<QTimer> timer;
        for (QTimer *candidate : window.findChildren<QTimer *>())
            timer = candidate->interval() == 3000 ? candidate : timer.data();
        QVERIFY(timer && timer->isActive());
        // The installer takes its version from the build; the splash must name the same one.
        QVERIFY(splash->findChild<QLabel *>("label_3")->text().startsWith(
            QStringLiteral("Versión " CENTINELA_RELEASE_VERSION " ")));
        QTest::keyClick(splash, Qt::Key_Escape); // closes it, but the window still waits
        QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
        QVERIFY(clock.elapsed() >= 3000);
        QVERIFY(window.isVisible() && !splash);
        // Once is all: a timer that went on would restore the window every three seconds.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!timer || !timer->isActive());
        window.findChild<QPushButton *>("pushButtonSalir")->click();
        QVERIFY(!window.isVisible());
    }

    void solucionar_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("cmd: the fix, then a restart")
            << true << QByteArray("setx _JAVA_OPTIONS -Dsun.java2d.d3d=false")
            << "Debe reiniciar el ordenador para que la configuración tenga efecto";
        QTest::newRow("sh: nothing to fix") << false << QByteArray()
                                            << "Esta corrección solo es necesaria en Windows: en "
                                               "este sistema no hay que cambiar nada.";
    }

    void solucionar()
    {
        QFETCH(bool, windows);
        QFETCH(QByteArray, command);
        QFETCH(QString, message);

        const auto previous = Platform::setCommandProcessor(windows ? Platform::windowsCmd()
                                                                    : Platform::posixShell());
        const auto restore = qScopeGuard([&previous] { Platform::setCommandProcessor(previous); });
        CommandRecorder recorder;
        DialogConfAdicionales dialog;
        dialog.show();
        QStringList seen;
        for (int press = 1; press <= 2; ++press) { // again: the same once more
            whenVisible<QMessageBox>(&dialog, [&](QMessageBox *box) {
                seen << box->windowTitle() << box->text()
                     << QString::number(box->parentWidget() == &dialog
                                        && box->icon() == QMessageBox::Information
                                        && box->windowModality() == Qt::ApplicationModal
                                        && box->buttons() == QList {box->button(QMessageBox::Ok)}
                                        && box->windowIcon().availableSizes().contains({150, 150}));
                box->close();
            });
            dialog.findChild<QPushButton *>("pushButtonGrafica")->click();
        }
        QCOMPARE(seen, QStringList({"Información", message, "1", "Información", message, "1"}));
        QCOMPARE(recorder.commands,
                 command.isEmpty() ? QByteArrayList() : QByteArrayList(2, command));
        QVERIFY(dialog.isVisible());
    }

#ifdef Q_OS_WIN
    // Through cmd.exe to a recording setx here (Wine's own setx stores nothing).
    void solucionarRunsSetx()
    {
        if (!underWine())
            QSKIP("a real Windows could run its own setx, changing this user's environment");
        QTemporaryDir folder;
        QVERIFY(QFile::copy(QStringLiteral(CENTINELA_PROBE), folder.filePath("setx.exe")));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        DialogConfAdicionales dialog;
        dialog.show();
        whenVisible<QMessageBox>(&dialog, [](QMessageBox *box) { box->close(); });
        dialog.findChild<QPushButton *>("pushButtonGrafica")->click();
        QDir::setCurrent(previous);
        const QList<QByteArray> record = fileBytes(folder.filePath("record.txt")).split('\n');
        QCOMPARE(record.mid(1), QByteArrayList({"_JAVA_OPTIONS", "-Dsun.java2d.d3d=false", ""}));
    }
#endif

private:
    TestHome home;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
