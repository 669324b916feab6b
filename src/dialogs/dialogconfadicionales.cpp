#include "dialogconfadicionales.h"
#include "ui_dialogconfadicionales.h"

#include "platform/platform.h"

#include <QIcon>
#include <QMessageBox>

DialogConfAdicionales::DialogConfAdicionales(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogConfAdicionales>())
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Configuraciones adicionales"));
    // An ordinary top-level window with the usual title-bar buttons, not a dialog-type one.
    setWindowFlags(Qt::WindowShadeButtonHint);
}

DialogConfAdicionales::~DialogConfAdicionales() = default;

void DialogConfAdicionales::on_pushButtonSalir_clicked()
{
    done(1);
}

void DialogConfAdicionales::on_pushButtonGrafica_clicked()
{
    // Turns off the Java runtime's Direct3D pipeline for every Java program the user starts
    // from now on. What setx answers is of no use here: the advice to restart holds anyway.
    Platform::runCommand(QStringLiteral("setx _JAVA_OPTIONS -Dsun.java2d.d3d=false").toLocal8Bit());

    // Never shown: the information box takes its title-bar icon from this parent.
    QMessageBox iconCarrier;
    iconCarrier.setWindowIcon(QIcon(QStringLiteral(":/imagenes/Client.ico")));
    QMessageBox::information(
        &iconCarrier, QStringLiteral("Información"),
        QStringLiteral("Debe reiniciar el ordenador para que la configuración tenga efecto"),
        QMessageBox::Ok, QMessageBox::NoButton);
}
