#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialogbienvenida.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The dialogs as the user meets them: the user configuration and the credential files behind
// it, the welcome splash, and the two dialogs of the "Ayuda" menu.
class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartCreatesEmptyOwnersOnlyFiles();
    void folderWithoutFilesGetsThemOnFirstOk();
    void firstStartStaysSilentWhenItCannotSave();
    void opensWithStoredValues();
    void userDialogEnding_data();
    void userDialogEnding();
    void failedSaveWarns_data();
    void failedSaveWarns();
    void splashHoldsMainWindowForThreeSeconds_data();
    void splashHoldsMainWindowForThreeSeconds();
    void helpDialogEnding_data();
    void helpDialogEnding();
    void solucionarAppliesFixAndStaysOpen();

private:
    TestHome home;
};

enum class Step { Type, Ok, Return, Cancel, Escape, Close, Erase };
Q_DECLARE_METATYPE(Step)

namespace {

const QByteArray emptyRecord(4, '\0');

CredentialStore dataStore()
{
    return CredentialStore(Platform::dataFolder());
}

QStringList heldCredentials(MainWindow &window)
{
    QString user, pass;
    QMetaObject::invokeMethod(&window, "getUser", Q_RETURN_ARG(QString, user));
    QMetaObject::invokeMethod(&window, "getPass", Q_RETURN_ARG(QString, pass));
    return {user, pass};
}

QLineEdit *field(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(name);
}

// Types into both fields, one key a character, as a keyboard with any layout would.
void type(QWidget *dialog, const QString &user, const QString &pass)
{
    for (const auto &[name, text] : {std::pair {"lineEditUser", user}, {"lineEditPass", pass}}) {
        QLineEdit *edit = field(dialog, name);
        edit->clear();
        for (const char32_t character : text.toUcs4())
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown,
                                QString::fromUcs4(&character, 1), Qt::NoModifier);
    }
}

void perform(QDialog *dialog, Step step, const QString &user = {}, const QString &pass = {})
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
    switch (step) {
    case Step::Type:
        return type(dialog, user, pass);
    case Step::Ok:
        return buttons->button(QDialogButtonBox::Ok)->click();
    case Step::Return:
        return QTest::keyClick(field(dialog, "lineEditPass"), Qt::Key_Return);
    case Step::Cancel:
        return buttons->button(QDialogButtonBox::Cancel)->click();
    case Step::Escape:
        return QTest::keyClick(dialog, Qt::Key_Escape);
    case Step::Close:
        dialog->close();
        return;
    case Step::Erase:
        return dialog->findChild<QPushButton *>("pushButtonBU")->click();
    }
}

// Opens the user dialog from the main window, by the menu or the user button, and runs
// `answer` on it from inside its exec().
void configureUser(MainWindow &window, bool byButton, const std::function<void(QDialog *)> &answer)
{
    whenVisible<DialogUser>(answer);
    if (byButton)
        window.findChild<QPushButton *>("pushButtonUser")->click();
    else
        window.findChild<QAction *>("actionConfigurar_usuario")->trigger();
}

void storeAnaSecreto()
{
    QVERIFY(dataStore().createFolder());
    QVERIFY(dataStore().save(QStringLiteral("ana"), QStringLiteral("secreto")));
}

} // namespace

void TestDialogs::init()
{
    const QString folder = Platform::dataFolder();
    QDir(folder).removeRecursively();
    QFile::remove(folder);
}

void TestDialogs::firstStartCreatesEmptyOwnersOnlyFiles()
{
    MainWindow window;
    const CredentialStore store = dataStore();
    QCOMPARE(fileBytes(store.userFile()), emptyRecord);
    QCOMPARE(fileBytes(store.passFile()), emptyRecord);
    QCOMPARE(heldCredentials(window), QStringList({"", ""}));
#ifdef Q_OS_UNIX
    QCOMPARE(modeOf(store.folder()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(modeOf(store.userFile()), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(modeOf(store.passFile()), QFile::ReadOwner | QFile::WriteOwner);
#endif
    // Only the very first start writes them.
    QVERIFY(store.save(QStringLiteral("ana"), QStringLiteral("secreto")));
    MainWindow second;
    QCOMPARE(heldCredentials(second), QStringList({"ana", "secreto"}));
}

void TestDialogs::folderWithoutFilesGetsThemOnFirstOk()
{
    const CredentialStore store = dataStore();
    QVERIFY(QDir().mkpath(store.folder()));
    MainWindow window;
    QVERIFY(QDir(store.folder()).isEmpty());
    configureUser(window, false, [](QDialog *dialog) { perform(dialog, Step::Ok); });
    QCOMPARE(fileBytes(store.userFile()), emptyRecord);
    QCOMPARE(fileBytes(store.passFile()), emptyRecord);
}

void TestDialogs::firstStartStaysSilentWhenItCannotSave()
{
    const QString folder = dataStore().folder();
    QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
    QVERIFY(putFile(folder, "in the way"));
    // A warning would block the start: look for one from inside its event loop.
    bool warned = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&warned] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            warned = true;
            box->close();
        }
    });
    watch.start(5);
    MainWindow window;
    QVERIFY(!warned);
    QCOMPARE(heldCredentials(window), QStringList({"", ""}));
}

void TestDialogs::opensWithStoredValues()
{
    storeAnaSecreto();
    DialogUser dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuración de usuario"));
    QCOMPARE(field(&dialog, "lineEditUser")->displayText(), QStringLiteral("ana"));
    QLineEdit *pass = field(&dialog, "lineEditPass");
    QCOMPARE(pass->text(), QStringLiteral("secreto"));
    QVERIFY(!pass->displayText().contains(QStringLiteral("secreto")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), field(&dialog, "lineEditUser"));
}

void TestDialogs::userDialogEnding_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QStringList>("stored");

    const QStringList old {"ana", "secreto"};
    QTest::newRow("OK unchanged") << false << QList<Step> {Step::Ok} << ""
                                  << "" << old;
    QTest::newRow("typed, OK") << true << QList<Step> {Step::Type, Step::Ok} << "luis"
                               << "nueva" << QStringList {"luis", "nueva"};
    QTest::newRow("typed, Return") << false << QList<Step> {Step::Type, Step::Return} << "luis"
                                   << "nueva" << QStringList {"luis", "nueva"};
    QTest::newRow("blanks, quotes, symbols and non-ASCII kept, OK")
        << false << QList<Step> {Step::Type, Step::Ok} << "  ana maría "
        << QStringLiteral("\"x\" 'y' ^&%!€\U0001F512")
        << QStringList {"  ana maría ", QStringLiteral("\"x\" 'y' ^&%!€\U0001F512")};
    QTest::newRow("emptied, OK") << false << QList<Step> {Step::Type, Step::Ok} << ""
                                 << "" << QStringList {"", ""};
    for (const auto &[ending, name] : {std::pair {Step::Cancel, "Cancel"},
                                       {Step::Escape, "Escape"},
                                       {Step::Close, "close button"}}) {
        QTest::addRow("typed, %s", name) << false << QList<Step> {Step::Type, ending} << "otra"
                                         << "clave" << old;
    }
    QTest::newRow("erase, Cancel") << true << QList<Step> {Step::Erase, Step::Cancel} << ""
                                   << "" << QStringList {"", ""};
    QTest::newRow("erase, typed, OK")
        << false << QList<Step> {Step::Erase, Step::Type, Step::Ok} << "luis"
        << "nueva" << QStringList {"luis", "nueva"};
}

void TestDialogs::userDialogEnding()
{
    QFETCH(bool, byButton);
    QFETCH(QList<Step>, steps);
    QFETCH(QString, user);
    QFETCH(QString, pass);
    QFETCH(QStringList, stored);

    storeAnaSecreto();
    MainWindow window;
    bool modal = false;
    bool openAfterErase = true;
    configureUser(window, byButton, [&](QDialog *dialog) {
        modal = QApplication::activeModalWidget() == dialog;
        for (const Step step : steps) {
            perform(dialog, step, user, pass);
            if (step == Step::Erase) {
                openAfterErase = dialog->isVisible();
                QVERIFY(field(dialog, "lineEditUser")->text().isEmpty());
                QCOMPARE(dataStore().readPass(), QString());
            }
        }
    });
    QVERIFY(modal);
    QVERIFY(openAfterErase);
    QCOMPARE(QStringList({dataStore().readUser(), dataStore().readPass()}), stored);
    // Reloaded at once, and on the Java client's command line as stored.
    QCOMPARE(heldCredentials(window), stored);
    CommandRecorder recorder;
    window.findChild<QAction *>("actionQu_mica")->trigger();
    const Platform::CommandProcessor processor = Platform::commandProcessor();
    QCOMPARE(recorder.commands.value(0),
             QByteArray("start app multipleinstance " CENTINELA_SCADA_HOST ":9083 user:")
                 + CommandLine::argumentValue(stored.at(0), processor).toLocal8Bit() + " password:"
                 + CommandLine::argumentValue(stored.at(1), processor).toLocal8Bit());
}

void TestDialogs::failedSaveWarns_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<Step>("save");

    for (const Step save : {Step::Ok, Step::Erase}) {
        const char *how = save == Step::Ok ? "OK" : "erase";
        QTest::addRow("folder replaced by a file, %s", how) << "folder is a file" << save;
        QTest::addRow("password file is a folder, %s", how) << "file is a folder" << save;
#ifdef Q_OS_UNIX
        QTest::addRow("disk full, %s", how) << "disk full" << save;
#endif
    }
}

void TestDialogs::failedSaveWarns()
{
    QFETCH(QString, failure);
    QFETCH(Step, save);

    storeAnaSecreto();
    const CredentialStore store = dataStore();
    if (failure == QLatin1String("file is a folder")) {
        QVERIFY(QFile::remove(store.passFile()));
        QVERIFY(QDir().mkdir(store.passFile()));
    }
    MainWindow window;
    if (failure == QLatin1String("folder is a file")) {
        QVERIFY(QDir(store.folder()).removeRecursively());
        QVERIFY(putFile(store.folder(), "in the way"));
    }
    const QByteArray userBytes = fileBytes(store.userFile());
    QString title, text;
    configureUser(window, false, [&](QDialog *dialog) {
        whenVisible<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
#ifdef Q_OS_UNIX
        // Smaller than any record, so that every write fails.
        std::unique_ptr<ResourceLimit> full;
        if (failure == QLatin1String("disk full"))
            full = std::make_unique<ResourceLimit>(RLIMIT_FSIZE, 2);
#endif
        perform(dialog, Step::Type, QStringLiteral("luis"), QStringLiteral("nueva"));
        perform(dialog, save);
        perform(dialog, Step::Cancel);
    });
    QCOMPARE(title, QStringLiteral("Configuración de usuario"));
    QCOMPARE(text,
             QStringLiteral("No se han podido guardar los datos de usuario en %1.")
                 .arg(QDir::toNativeSeparators(store.folder())));
    if (failure == QLatin1String("disk full"))
        QCOMPARE(fileBytes(store.userFile()), userBytes);
}

void TestDialogs::splashHoldsMainWindowForThreeSeconds_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("splash left alone") << false;
    QTest::newRow("splash closed with Escape") << true;
}

void TestDialogs::splashHoldsMainWindowForThreeSeconds()
{
    QFETCH(bool, escape);

    QElapsedTimer clock;
    clock.start();
    MainWindow window;
    window.show(); // as the entry does: it must not restore the window
    QPointer<DialogBienvenida> splash;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<DialogBienvenida *>(widget))
            splash = found;
    }
    QVERIFY(splash && splash->isVisible() && splash->isModal());
    if (escape)
        QTest::keyClick(splash, Qt::Key_Escape);

    QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
    QVERIFY(clock.elapsed() >= 3000);
    QVERIFY(window.isVisible());
    QVERIFY(!splash);
}

void TestDialogs::helpDialogEnding_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Step>("ending");
    QTest::addColumn<int>("result");

    for (const auto &[action, button] :
         {std::pair {"actionInstrucciones", "pushButton"},
          std::pair {"actionConfiguraciones_extras", "pushButtonSalir"}}) {
        QTest::addRow("%s, %s", action, button) << action << button << Step::Ok << 1;
        QTest::addRow("%s, Escape", action) << action << button << Step::Escape << 0;
        QTest::addRow("%s, close button", action) << action << button << Step::Close << 0;
    }
}

void TestDialogs::helpDialogEnding()
{
    QFETCH(QString, action);
    QFETCH(QString, button);
    QFETCH(Step, ending);
    QFETCH(int, result);

    MainWindow window;
    QPointer<QDialog> opened;
    int finishedWith = -1;
    const auto end = [&](QDialog *dialog) {
        opened = dialog;
        connect(dialog, &QDialog::finished, dialog, [&finishedWith](int code) {
            finishedWith = finishedWith < 0 ? code : finishedWith;
        });
        if (ending == Step::Ok)
            dialog->findChild<QPushButton *>(button)->click();
        else
            perform(dialog, ending);
    };
    if (action == QLatin1String("actionInstrucciones"))
        whenVisible<DialogInstrucciones>(end);
    else
        whenVisible<DialogConfAdicionales>(end);
    window.findChild<QAction *>(action)->trigger();
    QCOMPARE(finishedWith, result);
    QVERIFY(!opened);
}

void TestDialogs::solucionarAppliesFixAndStaysOpen()
{
    CommandRecorder recorder;
    DialogConfAdicionales dialog;
    dialog.show();
    for (int press = 1; press <= 2; ++press) {
        QString title, text;
        Qt::WindowModality modality = Qt::NonModal;
        QList<QAbstractButton *> buttons;
        bool iconFromFile = false;
        whenVisible<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            modality = box->windowModality();
            buttons = box->buttons();
            iconFromFile = box->windowIcon().availableSizes().contains(QSize(150, 150));
            box->button(QMessageBox::Ok)->click();
        });
        dialog.findChild<QPushButton *>("pushButtonGrafica")->click();
        QCOMPARE(title, QStringLiteral("Información"));
        QCOMPARE(text,
                 QStringLiteral("Debe reiniciar el ordenador para que la configuración "
                                "tenga efecto"));
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(buttons.size(), 1);
        QVERIFY(iconFromFile);
        QCOMPARE(recorder.commands,
                 QByteArrayList(press, "setx _JAVA_OPTIONS -Dsun.java2d.d3d=false"));
        QVERIFY(dialog.isVisible());
    }
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
