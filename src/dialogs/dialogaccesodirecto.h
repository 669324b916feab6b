#ifndef DIALOGACCESODIRECTO_H
#define DIALOGACCESODIRECTO_H

#include "launch.h"

#include <QDialog>
#include <QList>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class DialogAccesoDirecto;
}
QT_END_NAMESPACE

struct Site;

// Puts a shortcut on the desktop that opens one site, or several at once (a shift's set), in
// one client, with a double click: Centinela started with the options that open sites directly.
class DialogAccesoDirecto : public QDialog
{
    Q_OBJECT

public:
    // `client` is chosen at first: the one the main window has chosen.
    explicit DialogAccesoDirecto(Launch::Client client, QWidget *parent = nullptr);
    ~DialogAccesoDirecto() override;

private slots:
    void on_pushButtonCrear_clicked();
    void on_listWidgetSitios_itemSelectionChanged();
    void on_radioButtonHtml5_toggled(bool html5);
    void on_lineEditNombre_textEdited(const QString &text);

private:
    QList<const Site *> chosenSites() const;
    Launch::Client chosenClient() const;
    // Where the user has not named the shortcut: one site's name, none for several.
    void suggestName();
    // Says what is wrong and puts the focus where it can be mended.
    void refuse(const QString &problem, QWidget *toMend);

    std::unique_ptr<Ui::DialogAccesoDirecto> ui;
    bool named = false; // by the user
};

#endif // DIALOGACCESODIRECTO_H
