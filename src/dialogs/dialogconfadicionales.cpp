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
    QString message;
    if (Platform::commandProcessor().syntax == Platform::CommandProcessor::Syntax::Cmd) {
        // Turns off the Java runtime's Direct3D pipeline for every Java program the user
        // starts from now on. What setx answers is of no use here: the advice holds anyway.
        Platform::runCommand(
            QStringLiteral("setx _JAVA_OPTIONS -Dsun.java2d.d3d=false").toLocal8Bit());
        message = QStringLiteral("Debe reiniciar el ordenador para que la configuración tenga "
                                 "efecto");
    } else {
        // Direct3D, and so the fault, exist only on Windows; there is no setx here either.
        message = QStringLiteral("Esta corrección solo es necesaria en Windows: en este sistema "
                                 "no hay que cambiar nada.");
    }
    // Over this dialog, not wherever a parentless box would land.
    QMessageBox box(QMessageBox::Information, QStringLiteral("Información"), message,
                    QMessageBox::Ok, this);
    box.setWindowIcon(QIcon(QStringLiteral(":/imagenes/Client.ico")));
    box.exec();
}
