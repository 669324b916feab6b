#include "dialogbienvenida.h"
#include "ui_dialogbienvenida.h"

DialogBienvenida::DialogBienvenida(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogBienvenida>())
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Bienvenido"));
    // Only the three labels are drawn; the desktop shows through everywhere else.
    setStyleSheet(QStringLiteral("background:transparent;"));
    setAttribute(Qt::WA_TranslucentBackground, true);
    setWindowFlags(Qt::FramelessWindowHint);
}

DialogBienvenida::~DialogBienvenida() = default;
