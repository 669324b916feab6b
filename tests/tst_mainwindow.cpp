#include "arguments.h"
#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialogaccesodirecto.h"
#include "dialogs/dialogbienvenida.h"
#include "dialogs/dialogbuscar.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "startup.h"
#include "support.h"

#include <QAccessible>
#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>

#include <cmath>

// Calls the handlers directly: QApplication would round a synthesised event's global position
// to whole pixels, and the fractions matter here. Any button drags, not only the left one.
class DraggedWindow : public MainWindow
{
public:
    enum Step { Press, Move, Release };
    void drag(Step step, QPointF position, QPointF global)
    {
        QMouseEvent event(QEvent::MouseMove, position, global, Qt::MiddleButton, Qt::MiddleButton,
                          Qt::NoModifier);
        step == Press      ? mousePressEvent(&event)
            : step == Move ? mouseMoveEvent(&event)
                           : mouseReleaseEvent(&event);
    }
};

namespace {

// The site entries menu by menu, in the order a user meets them, written out by hand so that
// the tests do not trust the program's own tables. Most show the generic building.
struct Site
{
    const char *text;
    int port;
    const char *icon = "Edificio.png";
};
// clang-format off
const std::pair<const char *, std::vector<Site>> siteMenus[] = {
    {"Robledal", {{"Arquitectura Técnica", 9081, "ARQTecnica.png"}, {"Arquitectura Superior", 9082, "ARQSuperior.png"},
        {"Química", 9083, "Quimica.png"}, {"Farmacia", 9084, "Farmacia.png"}, {"Física", 9085, "Fisica.png"},
        {"Matemáticas", 9086, "Matematicas.png"}, {"Biología", 9087, "Biologia.png"},
        {"Informática", 9088, "Informatica.png"}, {"Edificio Ocre", 9089, "EOcre.png"},
        {"Instituto de Idiomas", 9090, "Idiomas.png"}, {"NEXO 1", 9091, "Nexo1.png"}, {"NEXO 2", 9092, "Nexo2.png"},
        {"CRAI", 9097, "CRAI.png"}, {"Molinar", 9094, "Molinar.png"}}},
    {"Norte", {{"Medicina", 9105}, {"Decanato", 9104}, {"Anatómico", 9106}, {"Pabellón Docente", 9103},
               {"Odontología", 9102}, {"ETSI", 9150}, {"Enfermería", 9107}}},
    {"Campus Central", {{"Rectorado", 9121}}},
    {"Fundicion-Vallehondo", {{"Económicas", 9111}, {"Psicología", 9112}, {"Turismo y Finanzas", 9113}}},
    {"Periférico", {{"Centro Internacional", 9130}, {"Ingeniería Agronómica", 9096}, {"Aulario Pinar", 9095},
                    {"Brezal", 9120}, {"Bellas Artes", 9122}}},
    {"Otras apps", {{"Aplicación superior", 9600, "Client.png"}, {"Seguridad", 9500, "Client.ico"}}},
};
// clang-format on

const QByteArray host = QByteArrayLiteral(CENTINELA_SCADA_HOST);

// The entry at `position` in the window's menu titled `title`, if there is one.
QAction *menuEntry(const QWidget &window, const QString &title, int position)
{
    for (const QMenu *menu : window.findChildren<QMenu *>()) {
        if (menu->title() == title)
            return menu->actions().value(position);
    }
    return nullptr;
}

} // namespace

// The main window and its dialogs as a user, or a screen reader, meets them.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void siteEntry_data()
    {
        QTest::addColumn<int>("menu");
        QTest::addColumn<int>("position");
        for (int menu = 0; menu < int(std::size(siteMenus)); ++menu) {
            for (int position = 0; position < int(siteMenus[menu].second.size()); ++position)
                QTest::newRow(siteMenus[menu].second[position].text) << menu << position;
        }
    }

    // What the entry shows and launches in each client mode: the one the window starts with,
    // then each chosen by a click that colours its label red and the other's black. Opened
    // directly by its name, in the same client, it runs the very same command.
    void siteEntry()
    {
        QFETCH(int, menu);
        QFETCH(int, position);
        const auto &[text, port, icon] = siteMenus[menu].second[position];
        const CredentialStore store(Platform::dataFolder());
        QVERIFY((store.folderExists() || store.createFolder()) && store.save("operador", "x y"));

        MainWindow window;
        QAction *entry = menuEntry(window, siteMenus[menu].first, position);
        QVERIFY(entry);
        QCOMPARE(entry->text(), QString::fromUtf8(text));
        QCOMPARE(entry->icon().pixmap(32).toImage(),
                 QIcon(QStringLiteral(":/imagenes/") + icon).pixmap(32).toImage());
        const QByteArray address = host + ':' + QByteArray::number(port);
        for (const char *mode : {"", "radioButtonHTML5", "radioButtonJAVA"}) {
            if (*mode)
                window.findChild<QRadioButton *>(mode)->click();
            const bool html5 = QByteArray(mode) == "radioButtonHTML5";
            const char *colours[] = {"color: rgb(255, 0, 0)", "color: rgb(0, 0, 0)"};
            QVERIFY(window.findChild<QLabel *>("label_2")->styleSheet().contains(colours[html5]));
            QVERIFY(window.findChild<QLabel *>("label_3")->styleSheet().contains(colours[!html5]));
            CommandRecorder recorder;
            entry->trigger();
            QCOMPARE(Arguments::carryOut({"Centinela", "--abrir", QString::fromUtf8(text),
                                          "--cliente", html5 ? "html5" : "java"}),
                     0);
            const QByteArray command = html5
                ? "start http://" + address
                : "start app multipleinstance " + address + " user:operador password:"
                    + CommandLine::argumentValue("x y", Platform::commandProcessor()).toLocal8Bit();
            QCOMPARE(recorder.commands, QByteArrayList(2, command));
        }
    }

    void labelsFollowTheChosenClient_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click") << "click";
        QTest::newRow("toggle()") << "toggle";
        QTest::newRow("setChecked()") << "setChecked";
        QTest::newRow("a screen reader's Toggle") << "accessible";
    }

    // The chosen client's label is red, the other black, however the button was checked.
    void labelsFollowTheChosenClient()
    {
        QFETCH(QString, how);
        MainWindow window;
        for (const char *name : {"radioButtonHTML5", "radioButtonJAVA"}) {
            auto *button = window.findChild<QRadioButton *>(name);
            how == "click"        ? button->click()
                : how == "toggle" ? button->toggle()
                : how == "setChecked"
                ? button->setChecked(true)
                : QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                    QAccessibleActionInterface::toggleAction());
            const bool html5 = QByteArray(name) == "radioButtonHTML5";
            QCOMPARE(window.findChild<QRadioButton *>("radioButtonHTML5")->isChecked(), html5);
            const char *colours[] = {"color: rgb(255, 0, 0)", "color: rgb(0, 0, 0)"};
            QVERIFY(window.findChild<QLabel *>("label_2")->styleSheet().contains(colours[html5]));
            QVERIFY(window.findChild<QLabel *>("label_3")->styleSheet().contains(colours[!html5]));
        }
    }

    void finder_data()
    {
        QTest::addColumn<bool>("alone"); // started as Centinela --buscar, not from the window
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("keys"); // then, with their modifiers
        QTest::addColumn<QString>("shown"); // the current result before the keys
        QTest::addColumn<QList<int>>("ports"); // opened, in the chosen client
        const int enter = Qt::Key_Return, down = Qt::Key_Down, up = Qt::Key_Up;
        const int shift = Qt::ShiftModifier, control = Qt::ControlModifier;
        // clang-format off
        QTest::newRow("quim, Enter") << false << "quim" << QList {enter} << "Química — Robledal" << QList {9083};
        QTest::newRow("no accents, capitals") << false << "PSICOLOGIA" << QList {enter} << "Psicología — Fundicion-Vallehondo" << QList {9112};
        QTest::newRow("the middle of a name") << false << "agron" << QList {enter} << "Ingeniería Agronómica — Periférico" << QList {9096};
        QTest::newRow("a beginning before a middle") << false << "r" << QList {enter} << "Rectorado — Campus Central" << QList {9121};
        QTest::newRow("arq, Down, Up, Down, Enter") << false << "arq" << QList {down, up, down, enter} << "Arquitectura Técnica — Robledal" << QList {9082};
        QTest::newRow("Shift+Up chooses two, opened in menu order") << false << "arq" << QList {down, shift | up, enter} << "Arquitectura Técnica — Robledal" << QList {9081, 9082};
        QTest::newRow("Ctrl moves, Ctrl+Space adds") << false << "" << QList {control | down, control | down, control | Qt::Key_Space, enter} << "Arquitectura Técnica — Robledal" << QList {9081, 9083};
        QTest::newRow("several stay chosen while found") << false << "nexo" << QList {shift | down, int(Qt::Key_Space), int(Qt::Key_Backspace), enter} << "NEXO 1 — Robledal" << QList {9091, 9092};
        QTest::newRow("nothing found: Enter leaves it open") << false << "zzz" << QList {enter} << "" << QList<int>();
        QTest::newRow("Escape") << false << "quim" << QList {int(Qt::Key_Escape)} << "Química — Robledal" << QList<int>();
        QTest::newRow("alone: quim, Enter") << true << "quim" << QList {enter} << "Química — Robledal" << QList {9083};
        QTest::newRow("alone: Escape") << true << "quim" << QList {int(Qt::Key_Escape)} << "Química — Robledal" << QList<int>();
        // clang-format on
    }

    // The finder, from Ctrl+F or alone, by keyboard alone: typing narrows, the arrows choose
    // (with Shift, Ctrl and Ctrl+Space several), Enter opens each chosen in menu order, in the
    // client chosen in the window or on the command line, Escape closes. Alone, it comes with no
    // other window and ends with the status of the launch.
    void finder()
    {
        QFETCH(bool, alone);
        QFETCH(QString, typed);
        QFETCH(QList<int>, keys);
        QFETCH(QString, shown);
        QFETCH(QList<int>, ports);
        QObject owner;
        std::unique_ptr<MainWindow> window;
        if (!alone) {
            window = std::make_unique<MainWindow>();
            window->findChild<QRadioButton *>("radioButtonHTML5")->click();
        }
        QString current;
        bool leftOpen = false;
        QStringList others; // windows shown beside the finder
        whenVisible<DialogBuscar>(&owner, [&](DialogBuscar *finder) {
            for (const QWidget *other : QApplication::topLevelWidgets()) {
                if (other->isVisible() && other != finder)
                    others << other->windowTitle();
            }
            QTest::keyClicks(keyboardFocus(finder), typed);
            const QListWidget *results = finder->findChild<QListWidget *>();
            current = results->currentItem() ? results->currentItem()->text() : QString();
            for (const int key : keys) {
                const auto combination = QKeyCombination::fromCombined(key);
                QTest::keyClick(keyboardFocus(finder), combination.key(),
                                combination.keyboardModifiers());
            }
            if ((leftOpen = finder->isVisible()))
                finder->reject();
        });
        CommandRecorder recorder;
        if (alone) {
            QCOMPARE(Arguments::carryOut({"Centinela", "--buscar", "--cliente", "html5"}), 0);
            QCOMPARE(others, QStringList());
        } else {
            auto *action = window->findChild<QAction *>("actionBuscar");
            QCOMPARE(action->shortcut(), QKeySequence("Ctrl+F"));
            action->trigger();
        }
        QCOMPARE(current, shown);
        QCOMPARE(leftOpen, shown.isEmpty());
        QByteArrayList opened;
        for (const int port : ports)
            opened << "start http://" + host + ':' + QByteArray::number(port);
        QCOMPARE(recorder.commands, opened);
    }

    // cmd.exe takes up to 8191 characters: a line that long goes; a longer one would open
    // nothing, so the user is told instead.
    void lineOverCmdLimitIsNotHandedOver()
    {
        const auto previous = Platform::setCommandProcessor(Platform::windowsCmd());
        const CredentialStore store(Platform::dataFolder());
        const auto restore = qScopeGuard([&] {
            Platform::setCommandProcessor(previous);
            QDir(store.folder()).removeRecursively();
        });
        store.createFolder();
        const QString tooLong = "Centinela: No se ha podido abrir el cliente: la orden supera los "
                                "8191 caracteres que admite el intérprete de órdenes. Use un "
                                "usuario o una contraseña más cortos.";
        const int fixed
            = CommandLine::javaClient(host, 9083, {}, {}, Platform::windowsCmd()).size();
        for (const int excess : {0, 1}) {
            QVERIFY(store.save({}, QString(8191 - fixed + excess, u'x')));
            MainWindow window;
            CommandRecorder recorder;
            QString warning;
            whenVisible<QMessageBox>(&window, [&warning](QMessageBox *box) {
                warning = box->windowTitle() + ": " + box->text();
                box->close();
            });
            menuEntry(window, "Robledal", 2)->trigger();
            QCOMPARE(recorder.commands.value(0).size(), excess ? 0 : 8191);
            QCOMPARE(warning, excess ? tooLong : QString());
        }
    }

    // Each window (its row named by its title): a name for every control and picture, and what a
    // screen reader says of some controls: their name, the label that names them, their states.
    void windowForTheUser_data()
    {
        QTest::addColumn<QSharedPointer<QWidget>>("window");
        QTest::addColumn<QStringList>("said"); // object: name <label [states]
        QTest::newRow("Centinela")
            << QSharedPointer<QWidget>(new MainWindow)
            << QStringList {"pushButtonUser: Configurar usuario", "label: Centinela [read-only]",
                            "radioButtonJAVA: Cliente JAVA <Cliente JAVA",
                            "radioButtonHTML5: Cliente HTML 5 <Cliente HTML 5"};
        QTest::newRow("Configuración de usuario")
            << QSharedPointer<QWidget>(new DialogUser)
            << QStringList {"labelLogo: Centinela [read-only]",
                            "pushButtonBU: Borrar datos de usuario",
                            "lineEditUser: Usuario <Usuario        :",
                            "lineEditPass: Contraseña <Contraseña : [password]"};
        QTest::newRow("Instrucciones") << QSharedPointer<QWidget>(new DialogInstrucciones)
                                       << QStringList {"plainTextEdit: Instrucciones [read-only]"};
        QTest::newRow("Buscar")
            << QSharedPointer<QWidget>(new DialogBuscar)
            << QStringList {"lineEditNombre: Nombre <Nombre del edificio o de la aplicación:",
                            "listWidgetResultados: Resultados"};
        QTest::newRow("Crear acceso directo")
            << QSharedPointer<QWidget>(new DialogAccesoDirecto(Launch::Client::Java))
            << QStringList {"radioButtonJava: Cliente JAVA", "radioButtonHtml5: Cliente HTML 5"};
        QTest::newRow("Configuraciones adicionales")
            << QSharedPointer<QWidget>(new DialogConfAdicionales)
            << QStringList {"pushButtonGrafica: Solucionar <La herramienta tooltip de las gráficas "
                            "en el \ncliente JAVA no se visualiza correctamente"};
    }

    void windowForTheUser()
    {
        QFETCH(QSharedPointer<QWidget>, window);
        QFETCH(QStringList, said);

        QCOMPARE(window->windowTitle(), QString::fromUtf8(QTest::currentDataTag()));
        // Every control that takes the focus, and every picture (a label without text), has a
        // name; and what a screen reader says of each widget, to compare with the row.
        QHash<QString, QString> heard;
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            const auto *control = QAccessible::queryAccessibleInterface(widget);
            const QString name = control->text(QAccessible::Name);
            const auto *picture = qobject_cast<QLabel *>(widget);
            if ((picture && picture->text().isEmpty()) || widget->focusPolicy() != Qt::NoFocus)
                QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
            QString &text = heard[widget->objectName()] = widget->objectName() + ": " + name;
            for (const auto &[label, relation] : control->relations(QAccessible::Label))
                text += " <" + label->text(QAccessible::Name);
            text += control->state().passwordEdit ? " [password]" : "";
            text += control->state().readOnly ? " [read-only]" : "";
        }
        for (const QString &expected : said)
            QCOMPARE(heard.value(expected.section(u':', 0, 0)), expected);
    }

    void salirReadable_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("default palette") << QApplication::palette();
        QTest::newRow("dark palette") << QPalette(QColor(45, 45, 45));
    }

    // "Salir" stands out from its background as drawn by WCAG's 4.5 : 1 at least, whatever the
    // desktop's palette: relative luminances, each with 0.05 added for flare.
    void salirReadable()
    {
        QFETCH(QPalette, palette);
        const auto restore = qScopeGuard(
            [previous = QApplication::palette()] { QApplication::setPalette(previous); });
        QApplication::setPalette(palette);
        MainWindow window;
        auto *salir = window.findChild<QPushButton *>("pushButtonSalir");
        const auto luminance = [](const QColor &colour) {
            const auto linear = [](double value) {
                return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
            };
            return 0.05 + 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
                + 0.0722 * linear(colour.blueF());
        };
        const double background = luminance(salir->grab().toImage().pixelColor(0, 0));
        const double text = luminance(salir->palette().color(QPalette::ButtonText));
        QCOMPARE_GE(std::max(text, background) / std::min(text, background), 4.5);
    }

    void dragMovesWindow_data()
    {
        QTest::addColumn<QPoint>("frame"); // the client area's offset from the frame's corner
        QTest::newRow("no frame") << QPoint(0, 0);
        QTest::newRow("title bar 30") << QPoint(0, 30);
        QTest::newRow("border 1, title bar 45") << QPoint(1, 45);
    }

    // The client area's corner lands at the pointer less the anchor, cut toward zero, whatever
    // the frame. The anchor is the grab rounded half away from zero; none after a release, or
    // if it is (0, 0).
    void dragMovesWindow()
    {
        QFETCH(QPoint, frame);
        const auto previous = Platform::setFrameOffset(frame);
        const auto restore = qScopeGuard([&] { Platform::setFrameOffset(previous); });
        DraggedWindow window;
        window.move(50, 60);
        window.drag(DraggedWindow::Press, {10.5, -2.5}, {60.5, 57.5});
        QCOMPARE(window.cursor().shape(), Qt::ClosedHandCursor);
        window.drag(DraggedWindow::Move, {10.5, -2.5}, {60.5, 57.5});
        QCOMPARE(window.pos(), QPoint(50, 60));
        window.drag(DraggedWindow::Move, {-49.7, -20.5}, {0.3, 39.5});
        QCOMPARE(window.pos() + frame, QPoint(-10, 42));
        window.drag(DraggedWindow::Release, {-49.7, -20.5}, {0.3, 39.5});
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
        window.drag(DraggedWindow::Move, {0.4, -0.4}, {100, 100});
        window.drag(DraggedWindow::Move, {3, 3}, {150, 150});
        QCOMPARE(window.pos() + frame, QPoint(-10, 42));
        window.drag(DraggedWindow::Move, {5, 5}, {200, 300});
        QCOMPARE(window.pos() + frame, QPoint(197, 297));
    }

    // The splash holds the main window for three seconds, once; then a long day of use, every
    // site and every dialog in turn, leaves nothing behind.
    void splashThenADayOfUse()
    {
        const QDeadlineTimer threeSeconds(3000);
        MainWindow window;
        window.show(); // as the entry does: it must not restore the window
        QPointer<DialogBienvenida> splash
            = qobject_cast<DialogBienvenida *>(QApplication::activeModalWidget());
        QVERIFY(splash && splash->isVisible() && splash->windowFlags() & Qt::FramelessWindowHint);
        const QPointer<QTimer> timer = window.findChild<QTimer *>();
        QVERIFY(timer && timer->isActive() && timer->interval() == 3000);
        // The installer takes its version from the build; the splash must name the same one.
        QVERIFY(splash->findChild<QLabel *>("label_3")->text().startsWith(
            QStringLiteral("Versión " CENTINELA_RELEASE_VERSION " ")));
        QTest::keyClick(splash, Qt::Key_Escape); // closes it, but the window still waits
        QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
        QVERIFY(threeSeconds.hasExpired() && window.isVisible() && !splash);

        CommandRecorder recorder;
        // Each dialog ends through its own button, as a user ends it.
        const auto closeBy = [](const char *button) {
            return [button](QWidget *dialog) { dialog->findChild<QPushButton *>(button)->click(); };
        };
        const auto oneRound = [&] {
            for (const auto &[title, entries] : siteMenus) {
                for (int position = 0; position < int(entries.size()); ++position)
                    menuEntry(window, title, position)->trigger();
            }
            whenVisible<DialogUser>(&window, [](QDialog *dialog) { dialog->reject(); });
            window.findChild<QAction *>("actionConfigurar_usuario")->trigger();
            whenVisible<DialogInstrucciones>(&window, closeBy("pushButton"));
            window.findChild<QAction *>("actionInstrucciones")->trigger();
            whenVisible<DialogConfAdicionales>(&window, closeBy("pushButtonSalir"));
            window.findChild<QAction *>("actionConfiguraciones_extras")->trigger();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
#ifdef Q_OS_WIN
            const qsizetype openFiles = 0; // under Wine, /proc/self/fd is Wine's own, and varies
#else
            const qsizetype openFiles = QDir(QStringLiteral("/proc/self/fd")).count();
#endif
            return QList<qsizetype> {window.findChildren<QObject *>().size(),
                                     QApplication::topLevelWidgets().size(), openFiles};
        };
        const QList<qsizetype> first = oneRound();
        oneRound();
        QCOMPARE(oneRound(), first); // objects, windows, open files
        // Once is all: a timer that went on would restore the window every three seconds.
        QVERIFY(!timer || !timer->isActive());
        window.findChild<QPushButton *>("pushButtonSalir")->click();
        QVERIFY(!window.isVisible());
        window.show();
        window.findChild<QAction *>("actionSalir")->trigger();
        QVERIFY(!window.isVisible());
    }

    // cmd: the fix, then a restart; sh: nothing to fix. Either way the information box comes
    // over the dialog, with the program's icon, and leaves the dialog open.
    void solucionar()
    {
        const QString restart
            = "Debe reiniciar el ordenador para que la configuración tenga efecto";
        const QString nothing = "Esta corrección solo es necesaria en Windows: en este sistema no "
                                "hay que cambiar nada.";
        for (const bool windows : {true, false}) {
            const auto previous = Platform::setCommandProcessor(windows ? Platform::windowsCmd()
                                                                        : Platform::posixShell());
            CommandRecorder recorder;
            DialogConfAdicionales dialog;
            dialog.show();
            QStringList seen;
            whenVisible<QMessageBox>(&dialog, [&](QMessageBox *box) {
                seen << box->windowTitle() << box->text()
                     << QString::number(box->parentWidget() == &dialog
                                        && box->icon() == QMessageBox::Information
                                        && box->buttons() == QList {box->button(QMessageBox::Ok)}
                                        && box->windowIcon().availableSizes().contains({150, 150}));
                box->close();
            });
            dialog.findChild<QPushButton *>("pushButtonGrafica")->click();
            Platform::setCommandProcessor(previous);
            QCOMPARE(seen, QStringList({"Información", windows ? restart : nothing, "1"}));
            QCOMPARE(recorder.commands,
                     QByteArrayList(windows, "setx _JAVA_OPTIONS -Dsun.java2d.d3d=false"));
            QVERIFY(dialog.isVisible());
        }
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
        whenVisible<QMessageBox>(&dialog, [](QMessageBox *box) { box->close(); });
        dialog.findChild<QPushButton *>("pushButtonGrafica")->click();
        QDir::setCurrent(previous);
        const QList<QByteArray> record = fileBytes(folder.filePath("record.txt")).split('\n');
        QCOMPARE(record.mid(1), QByteArrayList({"_JAVA_OPTIONS", "-Dsun.java2d.d3d=false", ""}));
    }
#endif

    // The start ends in the "fusion" style whatever came before (first the platform's own, on
    // Windows another); a Fusion style is kept, not made again over the built windows. Last, as
    // it changes the style that the other tests take as the platform left it.
    void fusionStyleAtStart_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("the platform's") << QString();
        QTest::newRow("windows") << "windows";
        QTest::newRow("fusion") << "fusion";
    }

    void fusionStyleAtStart()
    {
        QFETCH(QString, before);
        if (!before.isEmpty())
            QApplication::setStyle(before);
        const QPointer<QStyle> style = QApplication::style();
        const bool fusion = style->name() == "fusion";
        qInfo("style before the start: %s", qPrintable(style->name()));
        MainWindow window;
        Startup::setStyleAndShow(window);
        QCOMPARE(QApplication::style()->name(), "fusion");
        QCOMPARE(QApplication::style() == style, fusion);
    }

private:
    TestHome home;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
