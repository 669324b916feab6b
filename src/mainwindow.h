#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "launch.h"

#include <QMainWindow>
#include <QString>

#include <memory>

QT_BEGIN_NAMESPACE
class QAction;
class QMouseEvent;
class QTimer;
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class DialogBienvenida;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    // The window has no title bar of its own to grab, so it is dragged by its body.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // True when the client started; otherwise the user has been told why not.
    bool launchClient(int port, QString host);
    // Opens the site of a menu entry, at the port that the one list of sites gives it.
    void openSite(const QAction *entry);
    void nameSiteEntries();
    Launch::Client chosenClient() const;
    void showChosenClient(Launch::Client client);
    void createCredentialFiles();
    void configureUser();

    std::unique_ptr<Ui::MainWindow> ui;
    QString user;
    QString pass;
    QString scadaHost;
    double anchorX = 0;
    double anchorY = 0;
    std::unique_ptr<DialogBienvenida> bienvenida;
    QTimer *timer = nullptr;

    // The order of these slots is part of the window's meta-object interface: keep it.
private slots:
    void on_pushButtonSalir_clicked();
    void on_pushButtonUser_clicked();
    void setLogin();
    QString getUser() const;
    QString getPass() const;
    void on_actionSalir_triggered();
    void on_actionConfigurar_usuario_triggered();
    void on_actionArquitectura_T_cnica_triggered();
    void on_actionArquitectura_Superior_triggered();
    void on_actionQu_mica_triggered();
    void on_actionFarmacia_triggered();
    void on_actionF_sica_triggered();
    void on_actionMatem_ticas_triggered();
    void on_actionBiolog_a_triggered();
    void on_actionInform_tica_triggered();
    void on_actionEdificio_Ocre_triggered();
    void on_actionInstituto_de_Idiomas_triggered();
    void on_actionNEXO_1_triggered();
    void on_actionNEXO_2_triggered();
    void on_actionCRAI_triggered();
    void on_actionMolinar_triggered();
    void on_actionIngenier_a_Agron_mica_triggered();
    void on_actionAulario_Pinar_triggered();
    void on_actionMedicina_triggered();
    void on_actionDecanato_triggered();
    void on_actionAnat_mico_triggered();
    void on_actionPabell_n_Docente_triggered();
    void on_actionOdontolog_a_triggered();
    void on_actionBrezal_triggered();
    void on_actionEcon_micas_2_triggered();
    void on_actionSicolog_a_triggered();
    void on_actionCentro_Internacional_triggered();
    void on_actionAplicaci_n_superior_triggered();
    void on_actionInstrucciones_triggered();
    void bienvenidaFin();
    void on_actionConfiguraciones_extras_triggered();
    void on_radioButtonJAVA_clicked();
    void on_radioButtonHTML5_clicked();
    void on_actionETSI_triggered();
    void on_actionRectorado_triggered();
    void on_actionBellas_Artes_triggered();
    void on_actionTurismo_y_Finanzas_triggered();
    void on_actionEnfermer_a_triggered();
    void on_actionSeguridad_triggered();
    void on_actionBuscar_triggered();
    void on_actionCrear_acceso_directo_triggered();
};

#endif // MAINWINDOW_H
