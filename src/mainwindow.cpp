#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "config.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialogaccesodirecto.h"
#include "dialogs/dialogbienvenida.h"
#include "dialogs/dialogbuscar.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "platform/platform.h"
#include "sites.h"

#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPoint>
#include <QRadioButton>
#include <QTimer>

namespace {
constexpr int splashMilliseconds = 3000;
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>())
{
    bienvenida = std::make_unique<DialogBienvenida>();
    timer = new QTimer(this);
    // Never earlier than announced: a coarse timer may fire a little before its interval.
    timer->setTimerType(Qt::PreciseTimer);
    ui->setupUi(this);
    nameSiteEntries();
    // The labels follow the checked button however it came to be checked: a click, the
    // keyboard, or an assistive tool's toggle. Checking one button unchecks the other.
    connect(ui->radioButtonHTML5, &QRadioButton::toggled, this, [this](bool html5) {
        showChosenClient(html5 ? Launch::Client::Html5 : Launch::Client::Java);
    });
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

bool MainWindow::launchClient(int port, QString host)
{
    // With neither button checked (which the form never allows) the command stays empty.
    QString command;
    if (ui->radioButtonJAVA->isChecked())
        command = Launch::command(Launch::Client::Java, host, port, user, pass);
    if (ui->radioButtonHTML5->isChecked())
        command = Launch::command(Launch::Client::Html5, host, port, user, pass);
    const auto failure = Launch::run(command);
    if (failure)
        QMessageBox::warning(this, QStringLiteral("Centinela"), *failure);
    return !failure;
}

void MainWindow::openSite(const QAction *entry)
{
    if (const Site *site = Sites::forAction(entry->objectName()))
        launchClient(site->port, scadaHost);
}

// The entries and their submenus read as the list has them, the list that the finder and the
// command line read too.
void MainWindow::nameSiteEntries()
{
    for (const Site &site : Sites::all()) {
        auto *entry = findChild<QAction *>(site.actionName, Qt::FindDirectChildrenOnly);
        entry->setText(site.name);
        for (QObject *holder : entry->associatedObjects()) {
            if (auto *menu = qobject_cast<QMenu *>(holder))
                menu->setTitle(site.group);
        }
    }
}

Launch::Client MainWindow::chosenClient() const
{
    return ui->radioButtonHTML5->isChecked() ? Launch::Client::Html5 : Launch::Client::Java;
}

void MainWindow::showChosenClient(Launch::Client client)
{
    const QString red = QStringLiteral("color: rgb(255, 0, 0)");
    const QString black = QStringLiteral("color: rgb(0, 0, 0)");
    ui->label_2->setStyleSheet(client == Launch::Client::Java ? red : black);
    ui->label_3->setStyleSheet(client == Launch::Client::Html5 ? red : black);
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

void MainWindow::on_radioButtonJAVA_clicked()
{
    showChosenClient(Launch::Client::Java);
}

void MainWindow::on_radioButtonHTML5_clicked()
{
    showChosenClient(Launch::Client::Html5);
}

// The sites: each menu entry opens the view that the SCADA server serves on its own port,
// which the list of sites gives.

// Robledal
void MainWindow::on_actionArquitectura_T_cnica_triggered()
{
    openSite(ui->actionArquitectura_T_cnica);
}
void MainWindow::on_actionArquitectura_Superior_triggered()
{
    openSite(ui->actionArquitectura_Superior);
}
void MainWindow::on_actionQu_mica_triggered()
{
    openSite(ui->actionQu_mica);
}
void MainWindow::on_actionFarmacia_triggered()
{
    openSite(ui->actionFarmacia);
}
void MainWindow::on_actionF_sica_triggered()
{
    openSite(ui->actionF_sica);
}
void MainWindow::on_actionMatem_ticas_triggered()
{
    openSite(ui->actionMatem_ticas);
}
void MainWindow::on_actionBiolog_a_triggered()
{
    openSite(ui->actionBiolog_a);
}
void MainWindow::on_actionInform_tica_triggered()
{
    openSite(ui->actionInform_tica);
}
void MainWindow::on_actionEdificio_Ocre_triggered()
{
    openSite(ui->actionEdificio_Ocre);
}
void MainWindow::on_actionInstituto_de_Idiomas_triggered()
{
    openSite(ui->actionInstituto_de_Idiomas);
}
void MainWindow::on_actionNEXO_1_triggered()
{
    openSite(ui->actionNEXO_1);
}
void MainWindow::on_actionNEXO_2_triggered()
{
    openSite(ui->actionNEXO_2);
}
void MainWindow::on_actionCRAI_triggered()
{
    openSite(ui->actionCRAI);
}
void MainWindow::on_actionMolinar_triggered()
{
    openSite(ui->actionMolinar);
}

// Norte
void MainWindow::on_actionMedicina_triggered()
{
    openSite(ui->actionMedicina);
}
void MainWindow::on_actionDecanato_triggered()
{
    openSite(ui->actionDecanato);
}
void MainWindow::on_actionAnat_mico_triggered()
{
    openSite(ui->actionAnat_mico);
}
void MainWindow::on_actionPabell_n_Docente_triggered()
{
    openSite(ui->actionPabell_n_Docente);
}
void MainWindow::on_actionOdontolog_a_triggered()
{
    openSite(ui->actionOdontolog_a);
}
void MainWindow::on_actionETSI_triggered()
{
    openSite(ui->actionETSI);
}
void MainWindow::on_actionEnfermer_a_triggered()
{
    openSite(ui->actionEnfermer_a);
}

// Campus Central
void MainWindow::on_actionRectorado_triggered()
{
    openSite(ui->actionRectorado);
}

// Fundicion-Vallehondo
void MainWindow::on_actionEcon_micas_2_triggered()
{
    openSite(ui->actionEcon_micas_2);
}
void MainWindow::on_actionSicolog_a_triggered()
{
    openSite(ui->actionSicolog_a);
}
void MainWindow::on_actionTurismo_y_Finanzas_triggered()
{
    openSite(ui->actionTurismo_y_Finanzas);
}

// Periférico
void MainWindow::on_actionCentro_Internacional_triggered()
{
    openSite(ui->actionCentro_Internacional);
}
void MainWindow::on_actionIngenier_a_Agron_mica_triggered()
{
    openSite(ui->actionIngenier_a_Agron_mica);
}
void MainWindow::on_actionAulario_Pinar_triggered()
{
    openSite(ui->actionAulario_Pinar);
}
void MainWindow::on_actionBrezal_triggered()
{
    openSite(ui->actionBrezal);
}
void MainWindow::on_actionBellas_Artes_triggered()
{
    openSite(ui->actionBellas_Artes);
}

// Otras apps
void MainWindow::on_actionAplicaci_n_superior_triggered()
{
    openSite(ui->actionAplicaci_n_superior);
}
void MainWindow::on_actionSeguridad_triggered()
{
    openSite(ui->actionSeguridad);
}

// Finding sites by name, and a desktop shortcut that opens them.

// Like the other dialogs, without the window as parent, whose style sheet would draw its
// background on every widget of theirs.
void MainWindow::on_actionBuscar_triggered()
{
    DialogBuscar finder;
    if (finder.exec() != QDialog::Accepted)
        return;
    // What failed for one would fail for the next: one warning is enough.
    for (const Site *site : finder.chosenSites()) {
        if (!launchClient(site->port, scadaHost))
            break;
    }
}

void MainWindow::on_actionCrear_acceso_directo_triggered()
{
    DialogAccesoDirecto dialog(chosenClient());
    dialog.exec();
}
