#ifndef DIALOGINSTRUCCIONES_H
#define DIALOGINSTRUCCIONES_H

#include <QDialog>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class DialogInstrucciones;
}
QT_END_NAMESPACE

// The help window: what the program is for and what it needs.
class DialogInstrucciones : public QDialog
{
    Q_OBJECT

public:
    explicit DialogInstrucciones(QWidget *parent = nullptr);
    ~DialogInstrucciones() override;

private slots:
    void on_pushButton_clicked();

private:
    std::unique_ptr<Ui::DialogInstrucciones> ui;
};

#endif // DIALOGINSTRUCCIONES_H
