#ifndef DIALOGUSER_H
#define DIALOGUSER_H

#include <QDialog>
#include <QString>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class DialogUser;
}
QT_END_NAMESPACE

// Where the user enters, changes or erases the SCADA user name and password that the Java
// client is started with. It also carries the credential store's operations; the reading ones
// need no dialog, so callers that only want the stored values build none.
class DialogUser : public QDialog
{
    Q_OBJECT

public:
    explicit DialogUser(QWidget *parent = nullptr);
    ~DialogUser() override;

    void setCredentials(const QString &user, const QString &pass);
    // True when both files now hold the pair set last.
    bool saveCredentials() const;
    static QString readUser();
    static QString readPass();

private slots:
    void on_buttonBox_accepted();
    void on_pushButtonBU_clicked();

private:
    void saveOrWarn();

    QString user;
    QString pass;
    std::unique_ptr<Ui::DialogUser> ui;
};

#endif // DIALOGUSER_H
