#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialogbienvenida.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "platform/platform.h"

#include <QDir>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPoint>
#include <QRadioButton>
#include <QTimer>

namespace {
constexpr int splashMilliseconds = 3000;

// What went wrong with a launch that did not start its client, and what the user can do.
QString launchFailureText(Platform::LaunchOutcome outcome)
{
    switch (outcome) {
    case Platform::LaunchOutcome::ProgramNotFound: {
        const Platform::ProgramLookup lookup = Platform::programLookup();
        QStringList path;
        for (const QString &folder : lookup.pathFolders)
            path << QDir::toNativeSeparators(folder);
        return QStringLiteral("No se ha podido abrir el cliente JAVA: no se encuentra el "
                              "programa \"app\".\n\nAñada un acceso directo del cliente Java "
                              "llamado \"app\" en una de estas carpetas, que se buscan en este "
                              "orden:\n- la carpeta actual: %1\n- la carpeta de la aplicación "
                              "\"Centinela\": %2\n- las carpetas del PATH: %3")
            .arg(QDir::toNativeSeparators(lookup.currentFolder),
                 QDir::toNativeSeparators(lookup.programFolder), path.join(QStringLiteral(", ")));
    }
    case Platform::LaunchOutcome::NoBrowserOpener:
        return QStringLiteral("No se ha podido abrir el cliente HTML 5: no hay instalado ningún "
                              "programa que abra el navegador de internet (xdg-open). Instale el "
                              "paquete xdg-utils.");
    case Platform::LaunchOutcome::Started:
    case Platform::LaunchOutcome::Failed:
        break;
    }
    return QStringLiteral("No se ha podido abrir el cliente.");
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>())
{
    bienvenida = std::make_unique<DialogBienvenida>();
    timer = new QTimer(this);
    // Never earlier than announced: a coarse timer may fire a little before its interval.
    timer->setTimerType(Qt::PreciseTimer);
    ui->setupUi(this);
    // The labels follow the checked button however it came to be checked: a click, the
    // keyboard, or an assistive tool's toggle. Checking one button unchecks the other.
    connect(ui->radioButtonHTML5, &QRadioButton::toggled, this, &MainWindow::showChosenClient);
    showMinimized();
    createCredentialFiles();
    scadaHost = QStringLiteral(CENTINELA_SCADA_HOST);
    setLogin();
    connect(timer, SIGNAL(timeout()), this, SLOT(bienvenidaFin()));
    timer->start(splashMilliseconds);
    bienvenida->setModal(true);
    bienvenida->show();
    ui->radioButtonJAVA->setChecked(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::mousePressEvent(QMouseEvent *)
{
    setCursor(Qt::ClosedHandCursor);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *)
{
    anchorX = 0;
    anchorY = 0;
    setCursor(Qt::ArrowCursor);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // (0, 0) means "no anchor yet": the first move of a drag only records where the pointer
    // grabbed the window.
    if (anchorX == 0 && anchorY == 0) {
        anchorX = qRound(event->position().x());
        anchorY = qRound(event->position().y());
        return;
    }
    // The grabbed point stays under the pointer: the client area goes there, and move() places
    // the frame, whose title bar and border differ with the window manager and the scale.
    const double x = event->globalPosition().x() - anchorX;
    const double y = event->globalPosition().y() - anchorY;
    move(QPoint(static_cast<int>(x), static_cast<int>(y)) - Platform::frameOffset(*this));
}

void MainWindow::launchClient(int port, QString host)
{
    const Platform::CommandProcessor processor = Platform::commandProcessor();
    QString command;
    if (ui->radioButtonJAVA->isChecked())
        command = CommandLine::javaClient(host, port, user, pass, processor);
    if (ui->radioButtonHTML5->isChecked())
        command = CommandLine::html5Client(host, port);
    if (!processor.accepts(command)) {
        // Handed over, it would open nothing, and nobody would know why.
        QMessageBox::warning(this, QStringLiteral("Centinela"),
                             QStringLiteral("No se ha podido abrir el cliente: la orden supera "
                                            "los %1 caracteres que admite el intérprete de "
                                            "órdenes. Use un usuario o una contraseña más cortos.")
                                 .arg(processor.maxLineLength));
        return;
    }
    const auto outcome = Platform::launchOutcome(Platform::runCommand(command.toLocal8Bit()));
    if (outcome != Platform::LaunchOutcome::Started)
        QMessageBox::warning(this, QStringLiteral("Centinela"), launchFailureText(outcome));
}

void MainWindow::on_pushButtonSalir_clicked()
{
    close();
}

void MainWindow::createCredentialFiles()
{
    // Only on the very first start: a folder that is there is left alone, even without files.
    const CredentialStore store(Platform::dataFolder());
    if (store.folderExists())
        return;
    store.createFolder();
    // Nobody asked for this save, so a failure stays silent: the files then read as empty.
    store.createEmptyFiles();
}

void MainWindow::configureUser()
{
    auto dialog = std::make_unique<DialogUser>();
    dialog->setModal(true);
    dialog->show();
    dialog->exec();
    dialog->done(1);
    dialog.reset();
    // The dialog saves as it goes: what it stored, or failed to, is in the files now.
    setLogin();
}

void MainWindow::on_pushButtonUser_clicked()
{
    configureUser();
}

void MainWindow::setLogin()
{
    user = DialogUser::readUser();
    pass = DialogUser::readPass();
}

QString MainWindow::getUser() const
{
    return user;
}

QString MainWindow::getPass() const
{
    return pass;
}

void MainWindow::on_actionSalir_triggered()
{
    close();
}

void MainWindow::on_actionConfigurar_usuario_triggered()
{
    configureUser();
}

void MainWindow::on_actionInstrucciones_triggered()
{
    const auto dialog = std::make_unique<DialogInstrucciones>();
    dialog->show();
    dialog->exec();
    dialog->reject();
}

void MainWindow::bienvenidaFin()
{
    if (timer) {
        timer->stop();
        // We are inside the timer's own timeout: the event loop deletes it afterwards.
        timer->deleteLater();
        timer = nullptr;
    }
    bienvenida.reset();
    showNormal();
}

void MainWindow::on_actionConfiguraciones_extras_triggered()
{
    const auto dialog = std::make_unique<DialogConfAdicionales>();
    dialog->setModal(true);
    dialog->show();
    dialog->exec();
    dialog->reject();
}

void MainWindow::showChosenClient(bool html5)
{
    const QString red = QStringLiteral("color: rgb(255, 0, 0)");
    const QString black = QStringLiteral("color: rgb(0, 0, 0)");
    ui->label_2->setStyleSheet(html5 ? black : red);
    ui->label_3->setStyleSheet(html5 ? red : black);
}

void MainWindow::on_radioButtonJAVA_clicked()
{
    showChosenClient(false);
}

void MainWindow::on_radioButtonHTML5_clicked()
{
    showChosenClient(true);
}

// The sites: each menu entry opens the view that the SCADA server serves on its own port.

// Robledal
void MainWindow::on_actionArquitectura_T_cnica_triggered()
{
    launchClient(9081, scadaHost);
}
void MainWindow::on_actionArquitectura_Superior_triggered()
{
    launchClient(9082, scadaHost);
}
void MainWindow::on_actionQu_mica_triggered()
{
    launchClient(9083, scadaHost);
}
void MainWindow::on_actionFarmacia_triggered()
{
    launchClient(9084, scadaHost);
}
void MainWindow::on_actionF_sica_triggered()
{
    launchClient(9085, scadaHost);
}
void MainWindow::on_actionMatem_ticas_triggered()
{
    launchClient(9086, scadaHost);
}
void MainWindow::on_actionBiolog_a_triggered()
{
    launchClient(9087, scadaHost);
}
void MainWindow::on_actionInform_tica_triggered()
{
    launchClient(9088, scadaHost);
}
void MainWindow::on_actionEdificio_Ocre_triggered()
{
    launchClient(9089, scadaHost);
}
void MainWindow::on_actionInstituto_de_Idiomas_triggered()
{
    launchClient(9090, scadaHost);
}
void MainWindow::on_actionNEXO_1_triggered()
{
    launchClient(9091, scadaHost);
}
void MainWindow::on_actionNEXO_2_triggered()
{
    launchClient(9092, scadaHost);
}
void MainWindow::on_actionCRAI_triggered()
{
    launchClient(9097, scadaHost);
}
void MainWindow::on_actionMolinar_triggered()
{
    launchClient(9094, scadaHost);
}

// Norte
void MainWindow::on_actionMedicina_triggered()
{
    launchClient(9105, scadaHost);
}
void MainWindow::on_actionDecanato_triggered()
{
    launchClient(9104, scadaHost);
}
void MainWindow::on_actionAnat_mico_triggered()
{
    launchClient(9106, scadaHost);
}
void MainWindow::on_actionPabell_n_Docente_triggered()
{
    launchClient(9103, scadaHost);
}
void MainWindow::on_actionOdontolog_a_triggered()
{
    launchClient(9102, scadaHost);
}
void MainWindow::on_actionETSI_triggered()
{
    launchClient(9150, scadaHost);
}
void MainWindow::on_actionEnfermer_a_triggered()
{
    launchClient(9107, scadaHost);
}

// Campus Central
void MainWindow::on_actionRectorado_triggered()
{
    launchClient(9121, scadaHost);
}

// Fundicion-Vallehondo
void MainWindow::on_actionEcon_micas_2_triggered()
{
    launchClient(9111, scadaHost);
}
void MainWindow::on_actionSicolog_a_triggered()
{
    launchClient(9112, scadaHost);
}
void MainWindow::on_actionTurismo_y_Finanzas_triggered()
{
    launchClient(9113, scadaHost);
}

// Periférico
void MainWindow::on_actionCentro_Internacional_triggered()
{
    launchClient(9130, scadaHost);
}
void MainWindow::on_actionIngenier_a_Agron_mica_triggered()
{
    launchClient(9096, scadaHost);
}
void MainWindow::on_actionAulario_Pinar_triggered()
{
    launchClient(9095, scadaHost);
}
void MainWindow::on_actionBrezal_triggered()
{
    launchClient(9120, scadaHost);
}
void MainWindow::on_actionBellas_Artes_triggered()
{
    launchClient(9122, scadaHost);
}

// Otras apps
void MainWindow::on_actionAplicaci_n_superior_triggered()
{
    launchClient(9600, scadaHost);
}
void MainWindow::on_actionSeguridad_triggered()
{
    launchClient(9500, scadaHost);
}
