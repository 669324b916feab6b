#include "dialogbuscar.h"
#include "ui_dialogbuscar.h"

#include "sites.h"

#include <QKeyEvent>
#include <QPushButton>

DialogBuscar::DialogBuscar(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogBuscar>())
{
    ui->setupUi(this);
    // The typing stays in the line edit; the keys that move through a list go to the results.
    ui->lineEditNombre->installEventFilter(this);
    on_lineEditNombre_textChanged(QString());
}

DialogBuscar::~DialogBuscar() = default;

const Site *DialogBuscar::chosenSite() const
{
    const QListWidgetItem *item = ui->listWidgetResultados->currentItem();
    return item ? Sites::forAction(item->data(Qt::UserRole).toString()) : nullptr;
}

bool DialogBuscar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(ui->listWidgetResultados, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DialogBuscar::on_lineEditNombre_textChanged(const QString &text)
{
    ui->listWidgetResultados->clear();
    for (const Site *site : Sites::containing(text)) {
        auto *item = new QListWidgetItem(site->nameAndGroup(), ui->listWidgetResultados);
        item->setData(Qt::UserRole, site->actionName);
    }
    ui->listWidgetResultados->setCurrentRow(0);
    ui->pushButtonAbrir->setEnabled(ui->listWidgetResultados->count() > 0);
}
