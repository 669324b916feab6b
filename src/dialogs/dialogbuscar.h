#ifndef DIALOGBUSCAR_H
#define DIALOGBUSCAR_H

#include <QDialog>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class DialogBuscar;
}
QT_END_NAMESPACE

struct Site;

// Finds a site by a part of its name, by keyboard: typing narrows the list, the arrows choose,
// Enter (or a double click) accepts and Escape closes.
class DialogBuscar : public QDialog
{
    Q_OBJECT

public:
    explicit DialogBuscar(QWidget *parent = nullptr);
    ~DialogBuscar() override;

    // The site chosen when the dialog was accepted; nullptr when nothing matched.
    const Site *chosenSite() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_lineEditNombre_textChanged(const QString &text);

private:
    std::unique_ptr<Ui::DialogBuscar> ui;
};

#endif // DIALOGBUSCAR_H
