#ifndef DIALOGCONFADICIONALES_H
#define DIALOGCONFADICIONALES_H

#include <QDialog>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class DialogConfAdicionales;
}
QT_END_NAMESPACE

// Offers the fix for the Java client's badly drawn chart tooltips.
class DialogConfAdicionales : public QDialog
{
    Q_OBJECT

public:
    explicit DialogConfAdicionales(QWidget *parent = nullptr);
    ~DialogConfAdicionales() override;

private slots:
    void on_pushButtonSalir_clicked();
    void on_pushButtonGrafica_clicked();

private:
    std::unique_ptr<Ui::DialogConfAdicionales> ui;
};

#endif // DIALOGCONFADICIONALES_H
