#include "firstframe.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// The fair floor: what any program with a window like Centinela's pays, text and all (finding
// fonts is most of it), but no images, no style sheets and no second window.
namespace {

void addMenus(QMenuBar *bar)
{
    const char *const titles[] = {"Archivo", "Edición", "Campus", "Otras apps", "Ayuda"};
    for (const char *title : titles) {
        QMenu *menu = bar->addMenu(QString::fromUtf8(title));
        menu->addAction(QStringLiteral("Primera"));
        menu->addAction(QStringLiteral("Segunda"));
    }
}

void addContent(QMainWindow &window)
{
    auto *central = new QWidget(&window);
    auto *column = new QVBoxLayout(central);
    column->addWidget(new QLabel(QStringLiteral("Centinela"), central));
    column->addStretch();
    auto *row = new QHBoxLayout;
    column->addLayout(row);
    auto *java = new QRadioButton(QStringLiteral("Cliente JAVA"), central);
    java->setChecked(true);
    row->addWidget(java);
    row->addWidget(new QRadioButton(QStringLiteral("Cliente HTML 5"), central));
    row->addStretch();
    row->addWidget(new QPushButton(QStringLiteral("Salir"), central));
    window.setCentralWidget(central);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("fusion"));
    QMainWindow window;
    window.resize(359, 188);
    addMenus(window.menuBar());
    addContent(window);
    window.show();
    return execUntilFirstFrame();
}
