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
        ui->comboBoxSitio->addItem(site.nameAndGroup());
    ui->radioButtonHtml5->setChecked(client == Launch::Client::Html5);
}

DialogAccesoDirecto::~DialogAccesoDirecto() = default;

void DialogAccesoDirecto::on_pushButtonCrear_clicked()
{
    const Site &site = Sites::all().at(ui->comboBoxSitio->currentIndex());
    const bool html5 = ui->radioButtonHtml5->isChecked();
    const auto client = html5 ? Launch::Client::Html5 : Launch::Client::Java;
    // Both clients of one site can sit side by side on the desktop.
    const QString name = html5 ? site.name + QStringLiteral(" (HTML 5)") : site.name;
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
    const Platform::Shortcut shortcut {
        name,
        QStringLiteral("Abre %1 (%2) en el cliente %3 de Centinela")
            .arg(site.name, site.group, html5 ? QStringLiteral("HTML 5") : QStringLiteral("JAVA")),
        Platform::programFile(), Arguments::forOpening(site, client),
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
