#ifndef DIALOGBUSCAR_H
#define DIALOGBUSCAR_H

#include <QDialog>
#include <QList>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class DialogBuscar;
}
QT_END_NAMESPACE

struct Site;

// Finds sites by a part of their names, by keyboard: typing narrows the list, the arrows choose
// one (with Shift or Ctrl, or Ctrl+Space, several), Enter (or a double click) accepts and
// Escape closes.
class DialogBuscar : public QDialog
{
    Q_OBJECT

public:
    explicit DialogBuscar(QWidget *parent = nullptr);
    ~DialogBuscar() override;

    // The sites chosen when the dialog was accepted, in menu order; none when nothing matched.
    QList<const Site *> chosenSites() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_lineEditNombre_textChanged(const QString &text);

private:
    std::unique_ptr<Ui::DialogBuscar> ui;
};

#endif // DIALOGBUSCAR_H
