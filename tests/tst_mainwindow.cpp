#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialogbienvenida.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
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

// The sites' actions and ports in menu order, written out by hand so that the tests do not
// trust the program's own tables.
// clang-format off
const std::pair<const char *, int> sites[] = {
    {"actionArquitectura_T_cnica", 9081}, {"actionArquitectura_Superior", 9082},
    {"actionQu_mica", 9083}, {"actionFarmacia", 9084}, {"actionF_sica", 9085},
    {"actionMatem_ticas", 9086}, {"actionBiolog_a", 9087}, {"actionInform_tica", 9088},
    {"actionEdificio_Ocre", 9089}, {"actionInstituto_de_Idiomas", 9090}, {"actionNEXO_1", 9091},
    {"actionNEXO_2", 9092}, {"actionCRAI", 9097}, {"actionMolinar", 9094}, {"actionMedicina", 9105},
    {"actionDecanato", 9104}, {"actionAnat_mico", 9106}, {"actionPabell_n_Docente", 9103},
    {"actionOdontolog_a", 9102}, {"actionETSI", 9150}, {"actionEnfermer_a", 9107},
    {"actionRectorado", 9121}, {"actionEcon_micas_2", 9111}, {"actionSicolog_a", 9112},
    {"actionTurismo_y_Finanzas", 9113}, {"actionCentro_Internacional", 9130},
    {"actionIngenier_a_Agron_mica", 9096}, {"actionAulario_Pinar", 9095}, {"actionBrezal", 9120},
    {"actionBellas_Artes", 9122}, {"actionAplicaci_n_superior", 9600}, {"actionSeguridad", 9500},
};
// clang-format on

const QByteArray host = QByteArrayLiteral(CENTINELA_SCADA_HOST);

QRadioButton *modeButton(QWidget *window, bool html5)
{
    return window->findChild<QRadioButton *>(html5 ? "radioButtonHTML5" : "radioButtonJAVA");
}

} // namespace

// The main window: what each site launches in each client mode, the mode buttons, dragging,
// the welcome splash, the fix of "Configuraciones extras", and that a long day of use leaves
// nothing behind.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void siteLaunchesItsClient_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("html5");
        QTest::addColumn<QByteArray>("command");
        for (const auto &[action, port] : sites) {
            const QByteArray address = host + ':' + QByteArray::number(port);
            QTest::addRow("%s java", action)
                << action << false << "start app multipleinstance " + address + " user: password:";
            QTest::addRow("%s html5", action) << action << true << "start http://" + address;
        }
    }

    void siteLaunchesItsClient()
    {
        QFETCH(QString, action);
        QFETCH(bool, html5);
        QFETCH(QByteArray, command);

        MainWindow window;
        modeButton(&window, html5)->click();
        CommandRecorder recorder;
        auto *entry = window.findChild<QAction *>(action);
        entry->trigger();
        entry->trigger();
        QCOMPARE(recorder.commands, QByteArrayList({command, command}));
    }

    void modeButtonsColourTheirLabels()
    {
        MainWindow window;
        const auto colours = [&window] {
            return QStringList {window.findChild<QLabel *>("label_2")->styleSheet(),
                                window.findChild<QLabel *>("label_3")->styleSheet()};
        };
        const QStringList javaChosen {"color: rgb(255, 0, 0)", "color: rgb(0, 0, 0)"};
        const QStringList html5Chosen {javaChosen.at(1), javaChosen.at(0)};
        const QStringList fromForm = colours();
        modeButton(&window, true)->setChecked(true); // from code: no colour changes
        QCOMPARE(colours(), fromForm);
        modeButton(&window, false)->setChecked(true);
        modeButton(&window, true)->click();
        QVERIFY(!modeButton(&window, false)->isChecked());
        QCOMPARE(colours(), html5Chosen);
        modeButton(&window, false)->click();
        QVERIFY(!modeButton(&window, true)->isChecked());
        QCOMPARE(colours(), javaChosen);
        window.findChild<QLabel *>("label_2")->setStyleSheet({});
        modeButton(&window, false)->click(); // already checked: the colours again
        QCOMPARE(colours(), javaChosen);
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
        QTest::newRow("right") << Qt::RightButton << QPointF(10, 20) << QPointF(300, 400) << QPoint(290, 350);
        QTest::newRow("middle") << Qt::MiddleButton << QPointF(10, 20) << QPointF(300, 400) << QPoint(290, 350);
        QTest::newRow("rounding") << Qt::LeftButton << QPointF(10.4, 20.6) << QPointF(300.7, 400.2) << QPoint(290, 349);
        QTest::newRow("halves away from zero") << Qt::LeftButton << QPointF(2.5, -2.5) << QPointF(100, 100) << QPoint(97, 73);
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
            for (const auto &[action, port] : sites)
                window.findChild<QAction *>(action)->trigger();
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
        QTest::keyClick(splash, Qt::Key_Escape); // closes it, but the window still waits
        QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
        QVERIFY(clock.elapsed() >= 3000);
        QVERIFY(window.isVisible() && !splash);
    }

    void solucionarAppliesFixAndStaysOpen()
    {
        CommandRecorder recorder;
        DialogConfAdicionales dialog;
        dialog.show();
        for (int press = 1; press <= 2; ++press) {
            QStringList seen;
            whenVisible<QMessageBox>(&dialog, [&seen](QMessageBox *box) {
                seen << box->windowTitle() << box->text()
                     << QString::number(box->windowModality() == Qt::ApplicationModal
                                        && box->buttons().size() == 1
                                        && box->windowIcon().availableSizes().contains({150, 150}));
                box->close();
            });
            dialog.findChild<QPushButton *>("pushButtonGrafica")->click();
            QCOMPARE(seen,
                     QStringList({"Información",
                                  "Debe reiniciar el ordenador para que la configuración tenga "
                                  "efecto",
                                  "1"}));
            QCOMPARE(recorder.commands,
                     QByteArrayList(press, "setx _JAVA_OPTIONS -Dsun.java2d.d3d=false"));
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
