#include "commandline.h"
#include "commandrecorder.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "sitecatalogue.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

// Site launching from the main window: every menu entry, in both client modes.
class TestLaunching : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eachSiteLaunchesOnce_data();
    void eachSiteLaunchesOnce();
    void neitherModeCheckedStillRunsAnEmptyCommand();
    void exclusiveButtonsAndLabelColoursFollowClicks();
    void clickOnCheckedButtonReappliesColours();
    void setCheckedFromCodeKeepsColours();
    void lineOverCmdLimitIsNotHandedOver_data();
    void lineOverCmdLimitIsNotHandedOver();

private:
    static QByteArray expectedJava(int port);
    static QByteArray expectedHtml5(int port);
};

static const QByteArray host = QByteArrayLiteral(CENTINELA_SCADA_HOST);

QByteArray TestLaunching::expectedJava(int port)
{
    return "start app multipleinstance " + host + ':' + QByteArray::number(port)
        + " user: password:";
}

QByteArray TestLaunching::expectedHtml5(int port)
{
    return "start http://" + host + ':' + QByteArray::number(port);
}

void TestLaunching::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestLaunching::eachSiteLaunchesOnce_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QByteArray>("command");

    for (const Site &site : siteCatalogue) {
        QTest::addRow("%s java", site.action)
            << QString::fromLatin1(site.action) << false << expectedJava(site.port);
        QTest::addRow("%s html5", site.action)
            << QString::fromLatin1(site.action) << true << expectedHtml5(site.port);
    }
}

void TestLaunching::eachSiteLaunchesOnce()
{
    QFETCH(QString, action);
    QFETCH(bool, html5);
    QFETCH(QByteArray, command);

    MainWindow window;
    window.findChild<QRadioButton *>(html5 ? "radioButtonHTML5" : "radioButtonJAVA")->click();
    auto *siteAction = window.findChild<QAction *>(action);
    QVERIFY(siteAction);

    CommandRecorder recorder;
    siteAction->trigger();
    QCOMPARE(recorder.commands, QByteArrayList {command});
    siteAction->trigger();
    QCOMPARE(recorder.commands, (QByteArrayList {command, command}));
}

void TestLaunching::neitherModeCheckedStillRunsAnEmptyCommand()
{
    MainWindow window;
    auto *java = window.findChild<QRadioButton *>("radioButtonJAVA");
    java->setAutoExclusive(false);
    java->setChecked(false);

    CommandRecorder recorder;
    window.findChild<QAction *>("actionRectorado")->trigger();
    QCOMPARE(recorder.commands, QByteArrayList {QByteArray()});
}

void TestLaunching::exclusiveButtonsAndLabelColoursFollowClicks()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *java = window.findChild<QRadioButton *>("radioButtonJAVA");
    auto *html5 = window.findChild<QRadioButton *>("radioButtonHTML5");
    auto *javaLabel = window.findChild<QLabel *>("label_2");
    auto *html5Label = window.findChild<QLabel *>("label_3");
    QVERIFY(java->isChecked());

    QTest::mouseClick(html5, Qt::LeftButton);
    QVERIFY(!java->isChecked());
    QVERIFY(html5->isChecked());
    QCOMPARE(javaLabel->styleSheet(), QStringLiteral("color: rgb(0, 0, 0)"));
    QCOMPARE(html5Label->styleSheet(), QStringLiteral("color: rgb(255, 0, 0)"));

    QTest::mouseClick(java, Qt::LeftButton);
    QVERIFY(java->isChecked());
    QVERIFY(!html5->isChecked());
    QCOMPARE(javaLabel->styleSheet(), QStringLiteral("color: rgb(255, 0, 0)"));
    QCOMPARE(html5Label->styleSheet(), QStringLiteral("color: rgb(0, 0, 0)"));
}

void TestLaunching::clickOnCheckedButtonReappliesColours()
{
    MainWindow window;
    auto *java = window.findChild<QRadioButton *>("radioButtonJAVA");
    auto *javaLabel = window.findChild<QLabel *>("label_2");
    auto *html5Label = window.findChild<QLabel *>("label_3");
    javaLabel->setStyleSheet(QString());
    html5Label->setStyleSheet(QString());

    QSignalSpy clicked(java, &QRadioButton::clicked);
    java->click();
    QCOMPARE(clicked.size(), 1);
    QVERIFY(java->isChecked());
    QCOMPARE(javaLabel->styleSheet(), QStringLiteral("color: rgb(255, 0, 0)"));
    QCOMPARE(html5Label->styleSheet(), QStringLiteral("color: rgb(0, 0, 0)"));
}

void TestLaunching::setCheckedFromCodeKeepsColours()
{
    MainWindow window;
    auto *javaLabel = window.findChild<QLabel *>("label_2");
    auto *html5Label = window.findChild<QLabel *>("label_3");
    const QString javaStyle = javaLabel->styleSheet();
    const QString html5Style = html5Label->styleSheet();
    QVERIFY(javaStyle.contains(QStringLiteral("color: rgb(255, 0, 0);")));
    QVERIFY(html5Style.contains(QStringLiteral("color: rgb(0, 0, 0);")));

    window.findChild<QRadioButton *>("radioButtonHTML5")->setChecked(true);
    QCOMPARE(javaLabel->styleSheet(), javaStyle);
    QCOMPARE(html5Label->styleSheet(), html5Style);

    // The mode follows the check state, not the colours.
    CommandRecorder recorder;
    window.findChild<QAction *>("actionQu_mica")->trigger();
    QCOMPARE(recorder.commands, QByteArrayList {expectedHtml5(9083)});
}

void TestLaunching::lineOverCmdLimitIsNotHandedOver_data()
{
    QTest::addColumn<int>("excess");
    QTest::newRow("exactly the limit") << 0;
    QTest::newRow("one character over") << 1;
}

void TestLaunching::lineOverCmdLimitIsNotHandedOver()
{
    QFETCH(int, excess);

    Platform::CommandProcessor cmd = Platform::windowsCmd();
    cmd.throughCodePage = [](const QString &value) { return value; };
    const auto previous = Platform::setCommandProcessor(cmd);
    const int fixed = CommandLine::javaClient(host, 9083, {}, {}, cmd).size();
    const CredentialStore store(Platform::dataFolder());
    store.createFolder();
    QVERIFY(store.save(QString(), QString(8191 - fixed + excess, u'x')));

    MainWindow window;
    CommandRecorder recorder;
    QString title, text;
    if (excess > 0) {
        whenVisible<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
    }
    window.findChild<QAction *>("actionQu_mica")->trigger();
    Platform::setCommandProcessor(previous);
    QVERIFY(store.save(QString(), QString()));

    QCOMPARE(recorder.commands.size(), excess > 0 ? 0 : 1);
    if (excess > 0) {
        QCOMPARE(title, QStringLiteral("Centinela"));
        QCOMPARE(text,
                 QStringLiteral("No se ha podido abrir el cliente: la orden supera los 8191 "
                                "caracteres que admite el intérprete de órdenes. Use un usuario o "
                                "una contraseña más cortos."));
    } else {
        QCOMPARE(recorder.commands.first().size(), 8191);
    }
}

QTEST_MAIN(TestLaunching)
#include "tst_launching.moc"
