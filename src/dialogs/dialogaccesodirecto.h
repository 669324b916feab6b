#ifndef DIALOGACCESODIRECTO_H
#define DIALOGACCESODIRECTO_H

#include "launch.h"

#include <QDialog>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class DialogAccesoDirecto;
}
QT_END_NAMESPACE

// Puts a shortcut on the desktop that opens one site, in one client, with a double click:
// Centinela started with the options that open a site directly.
class DialogAccesoDirecto : public QDialog
{
    Q_OBJECT

public:
    // `client` is chosen at first: the one the main window has chosen.
    explicit DialogAccesoDirecto(Launch::Client client, QWidget *parent = nullptr);
    ~DialogAccesoDirecto() override;

private slots:
    void on_pushButtonCrear_clicked();

private:
    std::unique_ptr<Ui::DialogAccesoDirecto> ui;
};

#endif // DIALOGACCESODIRECTO_H
