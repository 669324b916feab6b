// Shows Centinela's windows one after the other on a real (virtual) screen and saves each as
// a PNG into the folder given as the last argument. With --set-style-always the style is set
// as the entry once did, even where it is Fusion already, to compare the two looks.
#include "dialogs/credentialstore.h"
#include "dialogs/dialogaccesodirecto.h"
#include "dialogs/dialogbienvenida.h"
#include "dialogs/dialogbuscar.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "platform/platform.h"
#include "startup.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Time for the X server to draw what was just shown; nothing here is measured.
constexpr int settleMilliseconds = 400;

class Photographer
{
public:
    explicit Photographer(const QString &folder) : out(folder) { }

    // Runs the steps one by one, each after the screen has settled from the one before.
    void run(QList<std::function<void()>> steps)
    {
        pending = std::move(steps);
        next();
    }

    // The widget as it draws itself, with its transparency kept.
    void saveWidget(QWidget *widget, const QString &name) { save(widget->grab(), name); }

    // What the screen shows inside the rectangle, menus and all.
    void saveScreen(const QRect &area, const QString &name)
    {
        save(QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                          area.height()),
             name);
    }

    bool failed = false;

private:
    void next()
    {
        if (pending.isEmpty()) {
            QCoreApplication::exit(failed ? 1 : 0);
            return;
        }
        QTimer::singleShot(settleMilliseconds, [this] {
            pending.takeFirst()();
            next();
        });
    }

    void save(const QPixmap &shot, const QString &name)
    {
        const QString path = out.filePath(name + QStringLiteral(".png"));
        if (!shot.save(path)) {
            std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
            failed = true;
        }
    }

    QDir out;
    QList<std::function<void()>> pending;
};

template<typename T> T *topLevel()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(widget); found && found->isVisible())
            return found;
    }
    return nullptr;
}

// The rectangle of the window together with the popups open over it.
QRect withPopups(const QWidget *window, const QList<QMenu *> &menus)
{
    QRect area = window->frameGeometry();
    for (const QMenu *menu : menus)
        area |= menu->geometry();
    return area.adjusted(-8, -8, 8, 8) & QGuiApplication::primaryScreen()->geometry();
}

// Opens the submenu beside its entry, as hovering would.
void popUpBeside(QMenu *parent, QMenu *submenu)
{
    const QRect entry = parent->actionGeometry(submenu->menuAction());
    parent->setActiveAction(submenu->menuAction());
    submenu->popup(parent->mapToGlobal(entry.topRight()));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    Startup::installQtTranslation(application);
    const QStringList arguments = QApplication::arguments().mid(1);
    const bool setStyleAlways = arguments.size() == 2 && arguments[0] == "--set-style-always";
    if (arguments.size() != 1 && !setStyleAlways) {
        std::fprintf(stderr, "usage: screenshots [--set-style-always] OUTPUT-FOLDER\n");
        return 2;
    }
    // A stored user, so that the window and the user dialog show what a user would see; the
    // launches and the settings fix only reach a runner that forgets them.
    CredentialStore store(Platform::dataFolder());
    if (!store.createFolder() || !store.save(QStringLiteral("jgarcia"), QStringLiteral("x")))
        return 1;
    Platform::setCommandRunner([](const QByteArray &) { return 0; });

    MainWindow window;
    if (setStyleAlways) {
        QApplication::setStyle(QStringLiteral("fusion"));
        window.show();
    } else {
        Startup::setStyleAndShow(window);
    }
    window.move(40, 40);

    Photographer camera(arguments.last());
    auto *bar = window.findChild<QMenuBar *>(QStringLiteral("menuBar"));
    auto *campus = window.findChild<QMenu *>(QStringLiteral("menuCampus"));
    auto *robledal = window.findChild<QMenu *>(QStringLiteral("menuRobledal"));
    auto *others = window.findChild<QMenu *>(QStringLiteral("menuOtras_apps"));
    auto *edit = window.findChild<QMenu *>(QStringLiteral("menu_Edici_n"));
    std::unique_ptr<QDialog> dialog;
    auto showDialog = [&dialog](std::unique_ptr<QDialog> shown) {
        dialog = std::move(shown);
        dialog->move(40, 40);
        dialog->show();
    };

    camera.run({
        [&] { camera.saveWidget(topLevel<DialogBienvenida>(), QStringLiteral("splash")); },
        [&] { QMetaObject::invokeMethod(&window, "bienvenidaFin"); },
        [&] { camera.saveScreen(withPopups(&window, {}), QStringLiteral("mainwindow")); },
        [&] { bar->setActiveAction(campus->menuAction()); },
        [&] { popUpBeside(campus, robledal); },
        [&] {
            camera.saveScreen(withPopups(&window, {campus, robledal}),
                              QStringLiteral("menu-campus"));
            robledal->close();
            campus->close();
        },
        [&] { bar->setActiveAction(others->menuAction()); },
        [&] {
            camera.saveScreen(withPopups(&window, {others}), QStringLiteral("menu-otras-apps"));
            others->close();
        },
        [&] { bar->setActiveAction(edit->menuAction()); },
        [&] {
            camera.saveScreen(withPopups(&window, {edit}), QStringLiteral("menu-edicion"));
            edit->close();
        },
        [&] { showDialog(std::make_unique<DialogBuscar>()); },
        [&] {
            dialog->findChild<QLineEdit *>()->setText(QStringLiteral("ar"));
            camera.saveWidget(dialog.get(), QStringLiteral("dialog-buscar"));
        },
        [&] { showDialog(std::make_unique<DialogAccesoDirecto>(Launch::Client::Java)); },
        [&] { camera.saveWidget(dialog.get(), QStringLiteral("dialog-acceso-directo")); },
        [&] { showDialog(std::make_unique<DialogUser>()); },
        [&] { camera.saveWidget(dialog.get(), QStringLiteral("dialog-user")); },
        [&] { showDialog(std::make_unique<DialogInstrucciones>()); },
        [&] { camera.saveWidget(dialog.get(), QStringLiteral("dialog-instrucciones")); },
        [&] { showDialog(std::make_unique<DialogConfAdicionales>()); },
        [&] {
            camera.saveWidget(dialog.get(), QStringLiteral("dialog-confadicionales"));
            // The box is modal: the next steps run inside its event loop.
            QTimer::singleShot(
                0, dialog->findChild<QPushButton *>(QStringLiteral("pushButtonGrafica")),
                &QPushButton::click);
        },
        [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) {
                camera.failed = true;
                return;
            }
            camera.saveWidget(box, QStringLiteral("dialog-informacion"));
            box->accept();
        },
        [&] { dialog.reset(); },
    });
    return application.exec();
}
