#include "dialoginstrucciones.h"
#include "ui_dialoginstrucciones.h"

DialogInstrucciones::DialogInstrucciones(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogInstrucciones>())
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Instrucciones"));
    // An ordinary top-level window with the usual title-bar buttons, not a dialog-type one.
    setWindowFlags(Qt::WindowShadeButtonHint);
}

DialogInstrucciones::~DialogInstrucciones() = default;

void DialogInstrucciones::on_pushButton_clicked()
{
    done(1);
}
