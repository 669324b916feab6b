#include "dialogbuscar.h"
#include "ui_dialogbuscar.h"

#include "sites.h"

#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

DialogBuscar::DialogBuscar(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogBuscar>())
{
    ui->setupUi(this);
    // The typing stays in the line edit; the keys that move through a list go to the results.
    ui->lineEditNombre->installEventFilter(this);
    on_lineEditNombre_textChanged(QString());
}

DialogBuscar::~DialogBuscar() = default;

QList<const Site *> DialogBuscar::chosenSites() const
{
    QList<const Site *> chosen;
    for (const QListWidgetItem *item : ui->listWidgetResultados->selectedItems())
        chosen << Sites::forAction(item->data(Qt::UserRole).toString());
    // Choosing by Ctrl+Space can leave nothing selected but the current result.
    if (chosen.isEmpty() && ui->listWidgetResultados->currentItem())
        chosen << Sites::forAction(
            ui->listWidgetResultados->currentItem()->data(Qt::UserRole).toString());
    std::sort(chosen.begin(), chosen.end()); // the list's own order is the menus'
    return chosen;
}

bool DialogBuscar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Space:
            if (!(key->modifiers() & Qt::ControlModifier))
                break; // a blank in the name
            Q_FALLTHROUGH();
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // With their modifiers, which choose several.
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
    QListWidget *results = ui->listWidgetResultados;
    // Several chosen stay chosen while they are still found; one alone is the first result's
    // place, which follows the typing.
    QList<const Site *> chosen = chosenSites();
    if (chosen.size() < 2)
        chosen.clear();
    results->clear();
    for (const Site *site : Sites::containing(text)) {
        auto *item = new QListWidgetItem(site->nameAndGroup(), results);
        item->setData(Qt::UserRole, site->actionName);
        item->setSelected(chosen.contains(site));
    }
    const QList<QListWidgetItem *> kept = results->selectedItems();
    if (kept.isEmpty())
        results->setCurrentRow(0);
    else
        results->setCurrentItem(kept.first(), QItemSelectionModel::NoUpdate);
    ui->pushButtonAbrir->setEnabled(results->count() > 0);
}
