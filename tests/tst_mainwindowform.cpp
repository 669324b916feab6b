#include "mainwindow.h"
#include "sitecatalogue.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTest>

// What the user sees of the main window: its menus, its fixed size, its texts.
class TestMainWindowForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void menuBarOrder();
    void menuContents_data();
    void menuContents();
    void campusSubmenus_data();
    void campusSubmenus();
    void onlyTwoMnemonicsAndNoShortcuts();
    void windowCannotBeResized();
    void windowTexts();

private:
    static QStringList titlesOf(const QList<QAction *> &actions);
    static QMenu *menuTitled(const QList<QAction *> &actions, const QString &title);
};

QStringList TestMainWindowForm::titlesOf(const QList<QAction *> &actions)
{
    QStringList titles;
    for (const QAction *action : actions)
        titles << (action->isSeparator() ? QStringLiteral("---") : action->text());
    return titles;
}

QMenu *TestMainWindowForm::menuTitled(const QList<QAction *> &actions, const QString &title)
{
    for (const QAction *action : actions) {
        if (action->menu() && action->text() == title)
            return action->menu();
    }
    return nullptr;
}

void TestMainWindowForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestMainWindowForm::menuBarOrder()
{
    MainWindow window;
    QCOMPARE(titlesOf(window.menuBar()->actions()),
             (QStringList {"&Archivo", "&Edición", "Campus", "Otras apps", "Ayuda"}));
}

void TestMainWindowForm::menuContents_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("Archivo") << "&Archivo" << QStringList {"Salir"};
    QTest::newRow("Edición") << "&Edición" << QStringList {"Configurar usuario", "---"};
    QTest::newRow("Campus") << "Campus"
                            << QStringList {"Robledal", "Norte", "Campus Central",
                                            "Fundicion-Vallehondo", "Periférico"};
    QTest::newRow("Otras apps") << "Otras apps" << QStringList {"Aplicación superior", "Seguridad"};
    QTest::newRow("Ayuda") << "Ayuda" << QStringList {"Instrucciones", "Configuraciones extras"};
}

void TestMainWindowForm::menuContents()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);

    MainWindow window;
    const QMenu *found = menuTitled(window.menuBar()->actions(), menu);
    QVERIFY(found);
    QCOMPARE(titlesOf(found->actions()), items);
}

void TestMainWindowForm::campusSubmenus_data()
{
    QTest::addColumn<QString>("submenu");
    QTest::addColumn<int>("count");

    QTest::newRow("Robledal") << "Robledal" << 14;
    QTest::newRow("Norte") << "Norte" << 7;
    QTest::newRow("Campus Central") << "Campus Central" << 1;
    QTest::newRow("Fundicion-Vallehondo") << "Fundicion-Vallehondo" << 3;
    QTest::newRow("Periférico") << "Periférico" << 5;
    QTest::newRow("Otras apps") << "Otras apps" << 2;
}

void TestMainWindowForm::campusSubmenus()
{
    QFETCH(QString, submenu);
    QFETCH(int, count);

    MainWindow window;
    const QList<QAction *> top = window.menuBar()->actions();
    QMenu *menu = submenu == QLatin1String("Otras apps")
        ? menuTitled(top, submenu)
        : menuTitled(menuTitled(top, QStringLiteral("Campus"))->actions(), submenu);
    QVERIFY(menu);

    QStringList expectedNames;
    QStringList expectedTexts;
    for (const Site &site : siteCatalogue) {
        if (QString::fromUtf8(site.menu) == submenu) {
            expectedNames << QString::fromLatin1(site.action);
            expectedTexts << QString::fromUtf8(site.text);
        }
    }
    QCOMPARE(expectedNames.size(), count);

    QStringList names;
    for (const QAction *action : menu->actions()) {
        names << action->objectName();
        QCOMPARE(action->parent(), &window);
        QVERIFY(!action->isCheckable());
    }
    QCOMPARE(names, expectedNames);
    QCOMPARE(titlesOf(menu->actions()), expectedTexts);
}

void TestMainWindowForm::onlyTwoMnemonicsAndNoShortcuts()
{
    MainWindow window;
    const QStringList withMnemonic {"&Archivo", "&Edición"};
    const QList<QAction *> actions = window.findChildren<QAction *>();
    QVERIFY(actions.size() >= 36 + 10);
    for (const QAction *action : actions) {
        QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
        if (!withMnemonic.contains(action->text()))
            QVERIFY2(!action->text().contains(u'&'), qPrintable(action->text()));
    }
}

void TestMainWindowForm::windowCannotBeResized()
{
    MainWindow window;
    QCOMPARE(window.minimumSize(), QSize(359, 188));
    QCOMPARE(window.maximumSize(), QSize(359, 188));
    window.resize(600, 400);
    QCOMPARE(window.size(), QSize(359, 188));
}

void TestMainWindowForm::windowTexts()
{
    MainWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Centinela"));
    QCOMPARE(window.findChild<QLabel *>("label_2")->text(), QStringLiteral("Cliente JAVA"));
    QCOMPARE(window.findChild<QLabel *>("label_3")->text(), QStringLiteral("Cliente HTML 5"));
    QCOMPARE(window.menuBar()->styleSheet().size(), 205);
    QVERIFY(window.menuBar()->styleSheet().endsWith(
        QStringLiteral("background-color: rgb(0, 0, 0);\n\n\n\n")));
    // Setting the empty text in retranslateUi leaves the logo in place.
    QVERIFY(!window.findChild<QLabel *>("label")->pixmap().isNull());
}

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
