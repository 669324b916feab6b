#include "dialogs/credentialstore.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

#ifndef Q_OS_WIN
#include <csignal>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Runs `run` with one limit of the process lowered. Beyond RLIMIT_FSIZE writes fail as on a full
// disk, even for root (EFBIG, with SIGXFSZ ignored).
template<typename Run> auto withLimit(int resource, rlim_t limit, Run run)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    getrlimit(resource, &saved);
    const rlimit lowered {limit, saved.rlim_max};
    setrlimit(resource, &lowered);
    const auto result = run();
    setrlimit(resource, &saved);
    return result;
}
#endif

namespace {

// Where installations keep the credentials, built here rather than asked of the program. A real
// user's C:/tmpRB only in the build's own Wine prefix; elsewhere the test home's folder.
CredentialStore store()
{
#ifdef Q_OS_WIN
    return CredentialStore(underWine() ? QStringLiteral("C:/tmpRB") : Platform::dataFolder());
#else
    return CredentialStore(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/tmpRB"));
#endif
}

const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
// Blanks and symbols, to come back exactly as typed.
const QStringList typed {"  ana maría ", QStringLiteral("\"x\" 'y' ^&%!€\U0001F512")};

} // namespace

// The credential files, what damaged or unwritable ones give, the first start, the user dialog.
class TestCredentials : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
#ifdef Q_OS_WIN
        if (underWine()) // the program's own folder, not the test home's
            Platform::setDataFolder(std::nullopt);
#endif
        QDir(store().folder()).removeRecursively();
        QFile::remove(store().folder());
    }

    // The bytes of a credential file and the value they read as. Writing the value of a whole
    // record gives its bytes; damaged bytes, whatever the damage, read as empty.
    void record_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("value");
        const auto bytes = [](const char *data, int size) { return QByteArray(data, size); };
        // clang-format off
        QTest::newRow("a, ñ, U+1F512 as a surrogate pair") << bytes("\0\0\0\x08\0a\0\xF1\xD8\x3D\xDD\x12", 12) << QStringLiteral("añ\U0001F512");
        QTest::newRow("unset, never the null marker") << bytes("\0\0\0\0", 4) << QString();
        QTest::newRow("odd length") << bytes("\0\0\0\x07\0a\0b\0c\0", 11) << QString();
        QTest::newRow("0x7FFFFFFE over ten bytes") << bytes("\x7F\xFF\xFF\xFE" "aaaaaaaaaa", 14) << QString();
        QTest::newRow("0xFFFFFFFE over ten bytes") << bytes("\xFF\xFF\xFF\xFE" "aaaaaaaaaa", 14) << QString();
        // clang-format on
    }

    void record()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, value);
        const bool whole = bytes.size() == 4 + 2 * value.size();
        if (whole) {
            // Over a longer value, which must leave nothing behind, in a file that an earlier
            // version left readable by all: the password is kept in clear.
            QVERIFY(CredentialRecord::writeFile(path(), QStringLiteral("abcdefghij")));
            QVERIFY(QFile::setPermissions(path(), ownerOnly | QFile::ReadGroup | QFile::ReadOther));
            QVERIFY(CredentialRecord::writeFile(path(), value));
            QCOMPARE(fileBytes(path()), bytes);
#ifndef Q_OS_WIN
            QCOMPARE(modeOf(path()), ownerOnly);
#endif
        }
        // Whatever follows a record is not part of it.
        QVERIFY(putFile(path(), whole ? bytes + QByteArray("\0\2\0x", 4) : bytes));
        // A length that the file does not back must not become an allocation: the fuzzer's
        // memory limit catches that, from the corpus's huge and negative lengths.
        QCOMPARE(CredentialRecord::readFile(path()), value);
    }

#ifndef Q_OS_WIN
    void fifoReadsEmptyWithoutWaiting()
    {
        QVERIFY(mkfifo(QFile::encodeName(path()).constData(), 0600) == 0);
        auto reading = std::async(std::launch::async, CredentialRecord::readFile, path());
        const bool done = reading.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
        if (!done) // lets a reader that waits for a writer go
            QFile(path()).open(QIODevice::WriteOnly);
        QVERIFY2(done, "reading waited for someone to write into the FIFO");
        QVERIFY(reading.get().isEmpty());
    }
#endif

    void failedSaveKeepsStoredValues_data()
    {
        QTest::addColumn<QString>("blocked"); // the file made a folder; none for a full disk
        QTest::addColumn<QStringList>("after");
#ifndef Q_OS_WIN
        QTest::newRow("disk full") << QString() << QStringList {"ana", "secreto"};
#endif
        QTest::newRow("user file is a folder") << "ductls.dll" << QStringList {"", "nueva"};
        QTest::newRow("password file is a folder") << "dpctls.dll" << QStringList {"luis", ""};
    }

    void failedSaveKeepsStoredValues()
    {
        QFETCH(QString, blocked);
        QFETCH(QStringList, after);

        QVERIFY(store().createFolder() && store().save("ana", "secreto"));
        if (!blocked.isEmpty()) {
            QVERIFY(QFile::remove(store().folder() + u'/' + blocked));
            QVERIFY(QDir(store().folder()).mkdir(blocked));
        }
        // A full disk leaves room for a header only: each write breaks off half-way.
        const auto save = [] { return store().save(QStringLiteral("luis"), "nueva"); };
#ifndef Q_OS_WIN
        QVERIFY(!(blocked.isEmpty() ? withLimit(RLIMIT_FSIZE, 4, save) : save()));
#else
        QVERIFY(!save());
#endif
        // What could be written holds the new value; the rest keeps the old one, whole.
        QCOMPARE(QStringList({store().readUser(), store().readPass()}), after);
    }

    void firstStart_data()
    {
        QTest::addColumn<bool>("folderFound");
        QTest::newRow("nothing there: folder and empty files made") << false;
        QTest::newRow("folder without files: left alone") << true;
    }

    void firstStart()
    {
        QFETCH(bool, folderFound);
        if (folderFound)
            QVERIFY(store().createFolder());
        MainWindow window;
        for (const QString &file : {store().userFile(), store().passFile()})
            QCOMPARE(fileBytes(file), folderFound ? QByteArray() : QByteArray(4, '\0'));
#ifndef Q_OS_WIN
        QCOMPARE(modeOf(store().folder()), ownerOnly | QFile::ExeOwner);
        QCOMPARE(modeOf(store().userFile()), folderFound ? QFile::Permissions() : ownerOnly);
        QCOMPARE(modeOf(store().passFile()), folderFound ? QFile::Permissions() : ownerOnly);
#endif
    }

    void userDialog_data()
    {
        // The row's name lists the steps, from a dialog opened on "ana" and "secreto".
        QTest::addColumn<bool>("byButton");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Aceptar") << false << QStringList {"ana", "secreto"};
        QTest::newRow("type, Aceptar") << true << typed;
        QTest::newRow("Borrar datos de usuario, type, Cancelar") << true << QStringList {"", ""};
        QTest::newRow("Borrar datos de usuario, Aceptar") << false << QStringList {"", ""};
        QTest::newRow("block, Aceptar") << false << QStringList {"", ""};
    }

    void userDialog()
    {
        QFETCH(bool, byButton);
        QFETCH(QStringList, expected);
        const QStringList steps = QString::fromLatin1(QTest::currentDataTag()).split(", ");

        QVERIFY(store().createFolder() && store().save("ana", "secreto"));
        MainWindow window;
        QStringList seen;
        whenVisible<DialogUser>(&window, [&](QDialog *dialog) {
            seen << (QApplication::activeModalWidget() == dialog ? "modal" : "not modal");
            whenVisible<QMessageBox>(dialog, [&seen](QMessageBox *box) {
                seen << box->windowTitle() << box->text();
                box->close();
            });
            // What the user does: "type" the values, click the button of that text; or what may
            // happen meanwhile: "block" the data folder, a fault that holds even for root.
            for (const QString &step : steps) {
                if (step == QLatin1String("type")) {
                    dialog->findChild<QLineEdit *>("lineEditUser")->setText(typed.at(0));
                    dialog->findChild<QLineEdit *>("lineEditPass")->setText(typed.at(1));
                } else if (step == QLatin1String("block")) {
                    QDir(store().folder()).removeRecursively();
                    putFile(store().folder(), "a file in the folder's place");
                }
                for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
                    if (button->text().remove(u'&') == step)
                        button->click();
                if (step != steps.last())
                    seen << (dialog->isVisible() ? "open" : "closed");
            }
            if (dialog->isVisible()) { // no button of the last step's text
                seen << "open";
                dialog->reject();
            }
        });
        if (byButton)
            window.findChild<QPushButton *>("pushButtonUser")->click();
        else
            window.findChild<QAction *>("actionConfigurar_usuario")->trigger();
        // Open until the last step, an erase too; a warning when a save fails.
        QStringList expectedSeen = QStringList {"modal"} + QStringList(steps.size() - 1, "open");
        if (steps.contains(QLatin1String("block")))
            expectedSeen << "Configuración de usuario"
                         << QStringLiteral("No se han podido guardar los datos de usuario en %1.")
                                .arg(QDir::toNativeSeparators(store().folder()));
        QCOMPARE(seen, expectedSeen);
        QCOMPARE(QStringList({store().readUser(), store().readPass()}), expected);
        QString user, pass; // what the window launches with, reloaded once the dialog is closed
        QMetaObject::invokeMethod(&window, "getUser", Q_RETURN_ARG(QString, user));
        QMetaObject::invokeMethod(&window, "getPass", Q_RETURN_ARG(QString, pass));
        QCOMPARE(QStringList({user, pass}), expected);
    }

    // What Qt draws itself, in Spanish: the buttons of "Configurar usuario" and of a message box,
    // the user name's context menu (each without its "&" and shortcut).
    void qtTexts_data()
    {
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("expected");
        const auto texts = [](const auto &items) {
            QStringList texts;
            for (const auto *item : items)
                texts << item->text().section(u'\t', 0, 0).remove(u'&');
            return texts;
        };
        DialogUser dialog;
        QTest::newRow("Configurar usuario")
            << texts(dialog.findChild<QDialogButtonBox *>()->buttons())
            << QStringList {"Aceptar", "Cancelar"};
        QMessageBox box(QMessageBox::Warning, "Centinela", "", QMessageBox::Ok);
        QTest::newRow("message box") << texts(box.buttons()) << QStringList {"Aceptar"};
        const std::unique_ptr<QMenu> menu(
            dialog.findChild<QLineEdit *>("lineEditUser")->createStandardContextMenu());
        QTest::newRow("user name's menu")
            << texts(menu->actions()).filter(QRegularExpression(".")) // without separators
            << QString("Deshacer,Rehacer,Cortar,Copiar,Pegar,Borrar,Seleccionar todo").split(u',');
    }

    void qtTexts()
    {
        QFETCH(QStringList, shown);
        QFETCH(QStringList, expected);
        QCOMPARE(shown, expected);
    }

private:
    TestHome home;
    // One credential file, for the tests of the files alone; its folder is made on first use.
    QString path() const
    {
        store().createFolder();
        return store().userFile();
    }
};

QTEST_MAIN(TestCredentials)
#include "tst_credentials.moc"
