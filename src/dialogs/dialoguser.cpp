#include "dialoguser.h"
#include "ui_dialoguser.h"

#include "credentialstore.h"
#include "platform/platform.h"

#include <QDir>
#include <QMessageBox>

namespace {

CredentialStore store()
{
    return CredentialStore(Platform::dataFolder());
}

} // namespace

DialogUser::DialogUser(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::DialogUser>())
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Configuración de usuario"));
    // No dialog-type hints; shown without a parent, it is still an ordinary top-level window.
    setWindowFlags(Qt::Widget);
    ui->lineEditUser->setText(readUser());
    ui->lineEditPass->setText(readPass());
}

DialogUser::~DialogUser() = default;

void DialogUser::setCredentials(const QString &user, const QString &pass)
{
    this->user = user;
    this->pass = pass;
}

bool DialogUser::saveCredentials() const
{
    return store().save(user, pass);
}

QString DialogUser::readUser()
{
    return store().readUser();
}

QString DialogUser::readPass()
{
    return store().readPass();
}

void DialogUser::on_buttonBox_accepted()
{
    setCredentials(ui->lineEditUser->text(), ui->lineEditPass->text());
    saveOrWarn();
}

void DialogUser::on_pushButtonBU_clicked()
{
    ui->lineEditUser->setText(QStringLiteral(""));
    ui->lineEditPass->setText(QStringLiteral(""));
    setCredentials(QStringLiteral(""), QStringLiteral(""));
    saveOrWarn();
}

void DialogUser::saveOrWarn()
{
    if (saveCredentials())
        return;
    // The user asked for this save: without a word they would believe it done.
    QMessageBox::warning(this, QStringLiteral("Configuración de usuario"),
                         QStringLiteral("No se han podido guardar los datos de usuario en %1.")
                             .arg(QDir::toNativeSeparators(Platform::dataFolder())));
}
