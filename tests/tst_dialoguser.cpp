#include "commandrecorder.h"
#include "config.h"
#include "credentialfiles.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "platform/platform.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>

// The user configuration dialog, the first start, and the credentials as the main window
// holds and launches them.
class TestDialogUser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void firstStartCreatesEmptyFiles();
    void folderWithoutFilesGetsThemOnFirstOk();
    void firstStartStaysSilentWhenItCannotSave();
    void opensWithStoredValues();
    void windowShape();
    void okStoresExactlyWhatWasTyped_data();
    void okStoresExactlyWhatWasTyped();
    void endingsThatStoreNothing_data();
    void endingsThatStoreNothing();
    void eraseThenTypeAndOk();
    void eraseThenCancelLeavesEmptyValues();
    void storedValuesReachJavaCommandLine_data();
    void storedValuesReachJavaCommandLine();
    void failedSaveWarnsAndKeepsStoredValues_data();
    void failedSaveWarnsAndKeepsStoredValues();
};

enum class Ending { Cancel, Escape, Close };
enum class Failure { FolderIsFile, DiskFull, ReadOnlyFolder };
Q_DECLARE_METATYPE(Ending)
Q_DECLARE_METATYPE(Failure)

namespace {

const QByteArray emptyRecord(4, '\0');

CredentialStore dataStore()
{
    return CredentialStore(Platform::dataFolder());
}

QStringList heldCredentials(MainWindow &window)
{
    QString user;
    QString pass;
    QMetaObject::invokeMethod(&window, "getUser", Q_RETURN_ARG(QString, user));
    QMetaObject::invokeMethod(&window, "getPass", Q_RETURN_ARG(QString, pass));
    return {user, pass};
}

QLineEdit *field(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(name);
}

QPushButton *button(QWidget *dialog, QDialogButtonBox::StandardButton which)
{
    return dialog->findChild<QDialogButtonBox *>("buttonBox")->button(which);
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

// Opens the dialog from the main window, by its menu action or by the user button, and runs
// `answer` on it from inside its exec().
void configureUser(MainWindow &window, const QString &trigger,
                   const std::function<void(DialogUser *)> &answer)
{
    whenVisible<DialogUser>(answer);
    if (trigger == QLatin1String("pushButtonUser"))
        window.findChild<QPushButton *>(trigger)->click();
    else
        window.findChild<QAction *>(trigger)->trigger();
}

} // namespace

void TestDialogUser::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestDialogUser::init()
{
    const QString folder = Platform::dataFolder();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(folder).removeRecursively();
    QFile::remove(folder);
    QVERIFY(!QFileInfo::exists(folder));
}

void TestDialogUser::firstStartCreatesEmptyFiles()
{
    MainWindow window;
    const CredentialStore store = dataStore();
    QCOMPARE(fileBytes(store.userFile()), emptyRecord);
    QCOMPARE(fileBytes(store.passFile()), emptyRecord);
    QCOMPARE(heldCredentials(window), QStringList({"", ""}));
#ifndef Q_OS_WIN
    QCOMPARE(ownerGroupOther(store.folder()),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(ownerGroupOther(store.userFile()), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(ownerGroupOther(store.passFile()), QFile::ReadOwner | QFile::WriteOwner);
#endif
}

void TestDialogUser::folderWithoutFilesGetsThemOnFirstOk()
{
    const CredentialStore store = dataStore();
    QVERIFY(QDir().mkpath(store.folder()));
    MainWindow window;
    QVERIFY(QDir(store.folder()).isEmpty());
    QCOMPARE(heldCredentials(window), QStringList({"", ""}));

    configureUser(window, "actionConfigurar_usuario",
                  [](DialogUser *dialog) { button(dialog, QDialogButtonBox::Ok)->click(); });
    QCOMPARE(fileBytes(store.userFile()), emptyRecord);
    QCOMPARE(fileBytes(store.passFile()), emptyRecord);
}

void TestDialogUser::firstStartStaysSilentWhenItCannotSave()
{
    const QString folder = dataStore().folder();
    QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
    QVERIFY(putFile(folder, "in the way"));

    bool warned = false;
    QTimer watch;
    watch.setInterval(5);
    connect(&watch, &QTimer::timeout, this, [&warned] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            warned = true;
            box->close();
        }
    });
    watch.start();
    MainWindow window;
    QVERIFY(!warned);
    QCOMPARE(heldCredentials(window), QStringList({"", ""}));
}

void TestDialogUser::opensWithStoredValues()
{
    QVERIFY(dataStore().createFolder());
    QVERIFY(dataStore().save(QStringLiteral("ana"), QStringLiteral("secreto")));

    DialogUser dialog;
    QCOMPARE(field(&dialog, "lineEditUser")->displayText(), QStringLiteral("ana"));
    QLineEdit *pass = field(&dialog, "lineEditPass");
    QCOMPARE(pass->text(), QStringLiteral("secreto"));
    QCOMPARE(pass->echoMode(), QLineEdit::Password);
    QVERIFY(!pass->displayText().contains(QStringLiteral("secreto")));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), field(&dialog, "lineEditUser"));

    QVERIFY(QFile::remove(dataStore().userFile()));
    QVERIFY(QFile::remove(dataStore().passFile()));
    DialogUser empty;
    QVERIFY(field(&empty, "lineEditUser")->text().isEmpty());
    QVERIFY(field(&empty, "lineEditPass")->text().isEmpty());
}

void TestDialogUser::windowShape()
{
    DialogUser dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuración de usuario"));
    QCOMPARE(dialog.minimumSize(), QSize(320, 207));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Without a parent the empty window flags still give an ordinary top-level window.
    QVERIFY(dialog.isWindow());
    QVERIFY(dialog.windowHandle());
    QVERIFY(!dialog.windowHandle()->flags().testFlag(Qt::FramelessWindowHint));

    auto *logo = dialog.findChild<QLabel *>("labelLogo");
    for (const QSize &asked : {QSize(100, 50), QSize(900, 700)}) {
        dialog.resize(asked);
        QCoreApplication::processEvents();
        QVERIFY(dialog.width() >= 320 && dialog.height() >= 207);
        QCOMPARE(logo->size(), QSize(301, 71));
    }
    QEvent languageChange(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&dialog, &languageChange);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuración de usuario"));
}

void TestDialogUser::okStoresExactlyWhatWasTyped_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<bool>("returnKey");

    QTest::newRow("unchanged") << "viejo"
                               << "antiguo" << false;
    QTest::newRow("plain, Return") << "ana"
                                   << "secreto" << true;
    QTest::newRow("blanks kept") << "  ana maría "
                                 << " a b  " << false;
    QTest::newRow("quotes") << "o'neil"
                            << "\"x\" 'y' ^&%!" << true;
    QTest::newRow("non-ASCII") << "José Ñúñez" << QStringLiteral("contraseña€\U0001F512") << false;
    QTest::newRow("both empty") << ""
                                << "" << false;
    QTest::newRow("both empty, Return") << ""
                                        << "" << true;
}

void TestDialogUser::okStoresExactlyWhatWasTyped()
{
    QFETCH(QString, user);
    QFETCH(QString, pass);
    QFETCH(bool, returnKey);

    QVERIFY(dataStore().createFolder());
    QVERIFY(dataStore().save(QStringLiteral("viejo"), QStringLiteral("antiguo")));
    DialogUser dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy accepted(&dialog, &QDialog::accepted);

    type(&dialog, user, pass);
    if (returnKey)
        QTest::keyClick(field(&dialog, "lineEditPass"), Qt::Key_Return);
    else
        button(&dialog, QDialogButtonBox::Ok)->click();
    QCOMPARE(accepted.size(), 1);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dataStore().readUser(), user);
    QCOMPARE(dataStore().readPass(), pass);
}

void TestDialogUser::endingsThatStoreNothing_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::newRow("Cancel") << Ending::Cancel;
    QTest::newRow("Escape") << Ending::Escape;
    QTest::newRow("close button") << Ending::Close;
}

void TestDialogUser::endingsThatStoreNothing()
{
    QFETCH(Ending, ending);

    const CredentialStore store = dataStore();
    QVERIFY(store.createFolder());
    QVERIFY(store.save(QStringLiteral("ana"), QStringLiteral("secreto")));
    const QByteArray userBytes = fileBytes(store.userFile());
    const QByteArray passBytes = fileBytes(store.passFile());

    DialogUser dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    type(&dialog, QStringLiteral("otra"), QStringLiteral("clave"));
    switch (ending) {
    case Ending::Cancel:
        button(&dialog, QDialogButtonBox::Cancel)->click();
        break;
    case Ending::Escape:
        QTest::keyClick(field(&dialog, "lineEditPass"), Qt::Key_Escape);
        break;
    case Ending::Close:
        dialog.close();
        break;
    }
    QCOMPARE(rejected.size(), 1);
    QCOMPARE(fileBytes(store.userFile()), userBytes);
    QCOMPARE(fileBytes(store.passFile()), passBytes);
}

void TestDialogUser::eraseThenTypeAndOk()
{
    const CredentialStore store = dataStore();
    QVERIFY(store.createFolder());
    QVERIFY(store.save(QStringLiteral("ana"), QStringLiteral("secreto")));
    DialogUser dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    dialog.findChild<QPushButton *>("pushButtonBU")->click();
    QVERIFY(dialog.isVisible());
    QVERIFY(field(&dialog, "lineEditUser")->text().isEmpty());
    QVERIFY(field(&dialog, "lineEditPass")->text().isEmpty());
    QCOMPARE(fileBytes(store.userFile()), emptyRecord);
    QCOMPARE(fileBytes(store.passFile()), emptyRecord);

    type(&dialog, QStringLiteral("luis"), QStringLiteral("nueva"));
    button(&dialog, QDialogButtonBox::Ok)->click();
    QCOMPARE(store.readUser(), QStringLiteral("luis"));
    QCOMPARE(store.readPass(), QStringLiteral("nueva"));
}

void TestDialogUser::eraseThenCancelLeavesEmptyValues()
{
    QVERIFY(dataStore().createFolder());
    QVERIFY(dataStore().save(QStringLiteral("ana"), QStringLiteral("secreto")));
    MainWindow window;
    QCOMPARE(heldCredentials(window), QStringList({"ana", "secreto"}));

    bool stayedOpen = false;
    configureUser(window, "pushButtonUser", [&stayedOpen](DialogUser *dialog) {
        dialog->findChild<QPushButton *>("pushButtonBU")->click();
        stayedOpen = dialog->isVisible();
        button(dialog, QDialogButtonBox::Cancel)->click();
    });
    QVERIFY(stayedOpen);
    QCOMPARE(fileBytes(dataStore().userFile()), emptyRecord);
    QCOMPARE(fileBytes(dataStore().passFile()), emptyRecord);
    QCOMPARE(heldCredentials(window), QStringList({"", ""}));
}

void TestDialogUser::storedValuesReachJavaCommandLine_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("menu action") << "actionConfigurar_usuario";
    QTest::newRow("user button") << "pushButtonUser";
}

void TestDialogUser::storedValuesReachJavaCommandLine()
{
    QFETCH(QString, trigger);

    MainWindow window;
    bool wasModal = false;
    configureUser(window, trigger, [&wasModal](DialogUser *dialog) {
        wasModal = QApplication::activeModalWidget() == dialog;
        type(dialog, QStringLiteral("ana maría"), QStringLiteral("x&calc'"));
        button(dialog, QDialogButtonBox::Ok)->click();
    });
    QVERIFY(wasModal);

    CommandRecorder recorder;
    window.findChild<QAction *>("actionQu_mica")->trigger();
#ifdef Q_OS_WIN
    const QString credentials = QStringLiteral(" user:ana maría password:x^&calc'");
#else
    const QString credentials = QStringLiteral(" user:'ana maría' password:'x&calc'\\'''");
#endif
    QCOMPARE(recorder.commands,
             QByteArrayList {"start app multipleinstance " CENTINELA_SCADA_HOST ":9083"
                             + credentials.toLocal8Bit()});
}

void TestDialogUser::failedSaveWarnsAndKeepsStoredValues_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<bool>("erase");

    for (const bool erase : {false, true}) {
        const char *how = erase ? "erase" : "OK";
        QTest::addRow("folder replaced by a file, %s", how) << Failure::FolderIsFile << erase;
#ifdef Q_OS_UNIX
        QTest::addRow("disk full, %s", how) << Failure::DiskFull << erase;
#endif
        if (!runningAsRoot())
            QTest::addRow("read-only folder, %s", how) << Failure::ReadOnlyFolder << erase;
    }
}

void TestDialogUser::failedSaveWarnsAndKeepsStoredValues()
{
    QFETCH(Failure, failure);
    QFETCH(bool, erase);

    const CredentialStore store = dataStore();
    QVERIFY(store.createFolder());
    QVERIFY(store.save(QStringLiteral("ana"), QStringLiteral("secreto")));
    QStringList expected = {"ana", "secreto"};
    if (failure == Failure::FolderIsFile) {
        QVERIFY(QDir(store.folder()).removeRecursively());
        QVERIFY(putFile(store.folder(), "in the way"));
        expected = QStringList {"", ""};
    }
    if (failure == Failure::ReadOnlyFolder)
        QVERIFY(QFile::setPermissions(store.folder(), QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray userBytes = fileBytes(store.userFile());
    const QByteArray passBytes = fileBytes(store.passFile());
    MainWindow window;

    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    configureUser(window, "actionConfigurar_usuario", [&](DialogUser *dialog) {
        whenVisible<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
#ifdef Q_OS_UNIX
        // Smaller than any record, so that the first write already fails.
        const auto limit
            = failure == Failure::DiskFull ? std::make_unique<FileSizeLimit>(2) : nullptr;
#endif
        if (erase) {
            dialog->findChild<QPushButton *>("pushButtonBU")->click();
            button(dialog, QDialogButtonBox::Cancel)->click();
        } else {
            type(dialog, QStringLiteral("luis"), QStringLiteral("nueva"));
            button(dialog, QDialogButtonBox::Ok)->click();
        }
    });

    QCOMPARE(title, QStringLiteral("Configuración de usuario"));
    QCOMPARE(text,
             QStringLiteral("No se han podido guardar los datos de usuario en %1.")
                 .arg(QDir::toNativeSeparators(store.folder())));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(fileBytes(store.userFile()), userBytes);
    QCOMPARE(fileBytes(store.passFile()), passBytes);
    QCOMPARE(heldCredentials(window), expected);
    if (failure == Failure::FolderIsFile)
        QCOMPARE(fileBytes(store.folder()), QByteArray("in the way"));
}

QTEST_MAIN(TestDialogUser)
#include "tst_dialoguser.moc"
