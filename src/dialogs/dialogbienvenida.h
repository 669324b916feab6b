#ifndef DIALOGBIENVENIDA_H
#define DIALOGBIENVENIDA_H

#include <QDialog>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class DialogBienvenida;
}
QT_END_NAMESPACE

// The borderless, see-through welcome splash shown while the main window waits minimised.
class DialogBienvenida : public QDialog
{
    Q_OBJECT

public:
    explicit DialogBienvenida(QWidget *parent = nullptr);
    ~DialogBienvenida() override;

private:
    std::unique_ptr<Ui::DialogBienvenida> ui;
};

#endif // DIALOGBIENVENIDA_H
