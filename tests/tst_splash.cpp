#include "dialogs/dialogbienvenida.h"
#include "mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

// The welcome splash and the three seconds the main window waits behind it.
class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void splashIsBorderlessAndSeeThrough();
    void splashTexts();
    void mainWindowWaitsMinimisedForThreeSeconds();
    void escapeClosesSplashButMainWindowWaits();

private:
    static DialogBienvenida *visibleSplash();
};

DialogBienvenida *TestSplash::visibleSplash()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *splash = qobject_cast<DialogBienvenida *>(widget))
            return splash;
    }
    return nullptr;
}

void TestSplash::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestSplash::splashIsBorderlessAndSeeThrough()
{
    DialogBienvenida splash;
    QCOMPARE(splash.windowFlags() & ~Qt::WindowType_Mask, Qt::WindowFlags(Qt::FramelessWindowHint));
    QVERIFY(splash.isWindow());
    QVERIFY(splash.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(splash.styleSheet(), QStringLiteral("background:transparent;"));
    QCOMPARE(splash.windowTitle(), QStringLiteral("Bienvenido"));
    QCOMPARE(splash.maximumSize(), QSize(718, 226));

    auto *banner = splash.findChild<QLabel *>("label");
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QCOMPARE(banner->size(), QSize(700, 165));
    QVERIFY(banner->hasScaledContents());
}

void TestSplash::splashTexts()
{
    DialogBienvenida splash;
    QCOMPARE(splash.findChild<QLabel *>("label_2")->text(),
             QStringLiteral("Sistema   de   control   de   la   Universidad   de   Valdoria"));

    const QString version = splash.findChild<QLabel *>("label_3")->text();
    const QString prefix
        = QStringLiteral("Versión 2.3.0") + QString(99, u' ') + QStringLiteral("Por ");
    QVERIFY(version.startsWith(prefix));
    QVERIFY(version.size() > prefix.size());
    QVERIFY(!version.at(prefix.size()).isSpace());
}

void TestSplash::mainWindowWaitsMinimisedForThreeSeconds()
{
    QElapsedTimer clock;
    clock.start();
    MainWindow window;
    window.show(); // as the entry does: it must not restore the window
    QVERIFY(window.isMinimized());

    QPointer<DialogBienvenida> splash = visibleSplash();
    QVERIFY(splash);
    QVERIFY(splash->isVisible());
    QVERIFY(splash->isModal());
    QPointer<QTimer> timer = window.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 3000);

    QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
    QVERIFY(clock.elapsed() >= 3000);
    QVERIFY(window.isVisible());
    QVERIFY(!splash);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!timer); // gone, so the window is restored only once
}

void TestSplash::escapeClosesSplashButMainWindowWaits()
{
    MainWindow window;
    window.show();
    QPointer<DialogBienvenida> splash = visibleSplash();
    QVERIFY(splash);

    QTest::keyClick(splash, Qt::Key_Escape);
    QVERIFY(!splash->isVisible());
    QTest::qWait(200);
    QVERIFY(window.isMinimized());

    QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
    QVERIFY(!splash);
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
