#include "dialogaccesodirecto.h"
#include "ui_dialogaccesodirecto.h"

#include "arguments.h"
#include "platform/platform.h"
#include "sites.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

DialogAccesoDirecto::DialogAccesoDirecto(Launch::Client client, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogAccesoDirecto>())
{
    ui->setupUi(this);
    for (const Site &site : Sites::all())
        ui->listWidgetSitios->addItem(site.nameAndGroup());
    ui->listWidgetSitios->setCurrentRow(0);
    ui->radioButtonHtml5->setChecked(client == Launch::Client::Html5);
    suggestName();
}

DialogAccesoDirecto::~DialogAccesoDirecto() = default;

QList<const Site *> DialogAccesoDirecto::chosenSites() const
{
    QList<const Site *> chosen;
    for (int row = 0; row < ui->listWidgetSitios->count(); ++row) {
        if (ui->listWidgetSitios->item(row)->isSelected())
            chosen << &Sites::all().at(row);
    }
    return chosen;
}

Launch::Client DialogAccesoDirecto::chosenClient() const
{
    return ui->radioButtonHtml5->isChecked() ? Launch::Client::Html5 : Launch::Client::Java;
}

void DialogAccesoDirecto::suggestName()
{
    if (named)
        return;
    const QList<const Site *> chosen = chosenSites();
    QString name = chosen.size() == 1 ? chosen.first()->name : QString();
    // Both clients' shortcuts of one site can sit side by side on the desktop.
    if (!name.isEmpty() && chosenClient() == Launch::Client::Html5)
        name += QStringLiteral(" (HTML 5)");
    ui->lineEditNombre->setText(name);
}

void DialogAccesoDirecto::on_listWidgetSitios_itemSelectionChanged()
{
    suggestName();
}

void DialogAccesoDirecto::on_radioButtonHtml5_toggled(bool)
{
    suggestName();
}

void DialogAccesoDirecto::on_lineEditNombre_textEdited(const QString &text)
{
    named = !text.isEmpty(); // emptied, it takes the suggestion again
}

void DialogAccesoDirecto::refuse(const QString &problem, QWidget *toMend)
{
    QMessageBox::warning(this, windowTitle(), problem);
    toMend->setFocus();
}

void DialogAccesoDirecto::on_pushButtonCrear_clicked()
{
    const QList<const Site *> sites = chosenSites();
    const QString name = ui->lineEditNombre->text().trimmed();
    if (sites.isEmpty())
        return refuse(QStringLiteral("Elija al menos un edificio o aplicación."),
                      ui->listWidgetSitios);
    if (name.isEmpty())
        return refuse(
            QStringLiteral("Escriba el nombre del acceso directo, por ejemplo «Mi turno»."),
            ui->lineEditNombre);
    if (!Platform::isFileName(name))
        return refuse(QStringLiteral("«%1» no sirve como nombre de archivo: no puede llevar "
                                     "ninguno de estos caracteres: \\ / : * ? \" < > |")
                          .arg(name),
                      ui->lineEditNombre);
    const QString path = QDir(Platform::desktopFolder()).filePath(Platform::shortcutFileName(name));
    if (QFileInfo::exists(path)) {
        QMessageBox question(QMessageBox::Question, windowTitle(),
                             QStringLiteral("Ya hay en el escritorio un archivo llamado «%1». "
                                            "¿Quiere reemplazarlo?")
                                 .arg(QFileInfo(path).fileName()),
                             QMessageBox::NoButton, this);
        const QPushButton *replace
            = question.addButton(QStringLiteral("Reemplazar"), QMessageBox::AcceptRole);
        question.setDefaultButton(
            question.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole));
        question.exec();
        if (question.clickedButton() != replace)
            return;
    }
    QStringList opened;
    for (const Site *site : sites)
        opened << QStringLiteral("%1 (%2)").arg(site->name, site->group);
    const bool html5 = chosenClient() == Launch::Client::Html5;
    const Platform::Shortcut shortcut {
        name,
        QStringLiteral("Abre %1 en el cliente %2 de Centinela")
            .arg(opened.join(QStringLiteral(", ")),
                 html5 ? QStringLiteral("HTML 5") : QStringLiteral("JAVA")),
        Platform::programFile(), Arguments::forOpening(sites, chosenClient()),
        // Where the Java client's shortcut "app" is looked for.
        QFileInfo(Platform::programFile()).absolutePath()};
    if (!Platform::writeShortcut(path, shortcut)) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("No se ha podido crear el acceso directo %1.")
                                 .arg(QDir::toNativeSeparators(path)));
        return;
    }
    QMessageBox::information(this, windowTitle(),
                             QStringLiteral("En el escritorio está el acceso directo «%1»: "
                                            "ábralo con un doble clic.")
                                 .arg(name));
    accept();
}
