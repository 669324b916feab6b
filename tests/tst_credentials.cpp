#include "dialogs/credentialstore.h"
#include "dialogs/dialoguser.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#ifndef Q_OS_WIN
#include <csignal>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Runs `run` with one limit of the process lowered. Beyond RLIMIT_FSIZE writes fail as on a full
// disk, even for root (EFBIG, with SIGXFSZ ignored); beyond RLIMIT_AS allocations fail.
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

// Where existing installations keep the credentials, inside the test's home: on Linux tmpRB in
// the generic data location, built from the variable rather than asked of the program.
CredentialStore store()
{
#ifdef Q_OS_WIN
    return CredentialStore(Platform::dataFolder());
#else
    return CredentialStore(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/tmpRB"));
#endif
}

QStringList stored()
{
    return {store().readUser(), store().readPass()};
}

QStringList held(MainWindow &window)
{
    QString user, pass;
    QMetaObject::invokeMethod(&window, "getUser", Q_RETURN_ARG(QString, user));
    QMetaObject::invokeMethod(&window, "getPass", Q_RETURN_ARG(QString, pass));
    return {user, pass};
}

// Does in the user dialog what the user does: "type" the two values, "OK", "Cancel",
// "Escape" or "erase"; or what may happen meanwhile: "block" the data folder.
void perform(QDialog *dialog, const QString &step, const QStringList &typed = {})
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
    if (step == QLatin1String("type")) {
        dialog->findChild<QLineEdit *>("lineEditUser")->setText(typed.at(0));
        dialog->findChild<QLineEdit *>("lineEditPass")->setText(typed.at(1));
    } else if (step == QLatin1String("OK")) {
        buttons->button(QDialogButtonBox::Ok)->click();
    } else if (step == QLatin1String("Cancel")) {
        buttons->button(QDialogButtonBox::Cancel)->click();
    } else if (step == QLatin1String("Escape")) {
        QTest::keyClick(dialog, Qt::Key_Escape);
    } else if (step == QLatin1String("block")) { // a fault that holds even for root
        QDir(store().folder()).removeRecursively();
        putFile(store().folder(), "a file in the folder's place");
    } else {
        dialog->findChild<QPushButton *>("pushButtonBU")->click();
    }
}

// Opens the user dialog from the main window and runs `answer` on it inside its exec().
void configureUser(MainWindow &window, bool byButton, const std::function<void(QDialog *)> &answer)
{
    whenVisible<DialogUser>(&window, answer);
    if (byButton)
        window.findChild<QPushButton *>("pushButtonUser")->click();
    else
        window.findChild<QAction *>("actionConfigurar_usuario")->trigger();
}

} // namespace

// The credentials: their files byte by byte, what damaged or unwritable files give, the first
// start, and the user configuration dialog as the user meets it.
class TestCredentials : public QObject
{
    Q_OBJECT

private slots:
    // Every test starts where nothing is stored yet, not even the data folder.
    void init()
    {
        QDir(store().folder()).removeRecursively();
        QFile::remove(store().folder());
    }

    void recordBytes_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("bytes");
        const auto record = [](const char *bytes, int size) { return QByteArray(bytes, size); };
        // clang-format off
        QTest::newRow("abc") << "abc" << record("\0\0\0\x06\0a\0b\0c", 10);
        QTest::newRow("ñ") << "ñ" << record("\0\0\0\x02\0\xF1", 6);
        QTest::newRow("U+1F512, a surrogate pair") << "\U0001F512" << record("\0\0\0\x04\xD8\x3D\xDD\x12", 8);
        QTest::newRow("blanks and quotes") << " \"'" << record("\0\0\0\x06\0 \0\"\0'", 10);
        QTest::newRow("empty") << "" << record("\0\0\0\0", 4);
        QTest::newRow("unset, never the null marker") << QString() << record("\0\0\0\0", 4);
        // clang-format on
    }

    void recordBytes()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, bytes);

        // Over a longer value, which must leave nothing behind.
        QVERIFY(CredentialRecord::writeFile(path(), QStringLiteral("abcdefghij")));
        QVERIFY(CredentialRecord::writeFile(path(), value));
        QCOMPARE(fileBytes(path()), bytes);
        QCOMPARE(CredentialRecord::readFile(path()), value.isNull() ? QStringLiteral("") : value);
        // Whatever follows the record is not part of it.
        QVERIFY(putFile(path(), bytes + QByteArray("\x00\x02\x00\x78", 4)));
        QCOMPARE(CredentialRecord::readFile(path()), value);
    }

    void damagedFileReadsEmpty_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // clang-format off
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("3 bytes") << QByteArray(3, '\0');
        QTest::newRow("null marker, then data") << QByteArray("\xFF\xFF\xFF\xFF\0a", 6);
        QTest::newRow("odd length") << QByteArray("\0\0\0\x07\0a\0b\0c\0", 11);
        QTest::newRow("data shorter than announced") << QByteArray("\0\0\0\x08\0a", 6);
        QTest::newRow("0x7FFFFFFE over ten bytes") << QByteArray("\x7F\xFF\xFF\xFE" "aaaaaaaaaa", 14);
        QTest::newRow("0xFFFFFFFE over ten bytes") << QByteArray("\xFF\xFF\xFF\xFE" "aaaaaaaaaa", 14);
        // clang-format on
    }

    void damagedFileReadsEmpty()
    {
        QFETCH(QByteArray, bytes);
        if (!bytes.isNull())
            QVERIFY(putFile(path(), bytes));

        const auto read = [this] { return CredentialRecord::readFile(path()); };
#if !defined(CENTINELA_SANITIZED) && !defined(Q_OS_WIN)
        // A length that the file does not back must not turn into an allocation: with 256 MiB of
        // address space to spare, one would fail. (The sanitizers need their address space.)
        const qulonglong pages
            = fileBytes(QStringLiteral("/proc/self/statm")).split(' ')[0].toULongLong();
        QVERIFY(withLimit(RLIMIT_AS, pages * sysconf(_SC_PAGESIZE) + (256 << 20), read).isEmpty());
#else
        QVERIFY(read().isEmpty());
#endif
    }

#ifndef Q_OS_WIN
    void fifoReadsEmptyWithoutWaiting()
    {
        QVERIFY(mkfifo(QFile::encodeName(path()).constData(), 0600) == 0);
        auto reading
            = std::async(std::launch::async, [this] { return CredentialRecord::readFile(path()); });
        const bool done = reading.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
        if (!done) // lets a reader that waits for a writer go
            QFile(path()).open(QIODevice::WriteOnly);
        QVERIFY2(done, "reading waited for someone to write into the FIFO");
        QVERIFY(reading.get().isEmpty());
    }
#endif

    void failedSaveKeepsStoredValues_data()
    {
        QTest::addColumn<QString>("blocked"); // what is in the way; nothing for a full disk
        QTest::addColumn<QStringList>("stored");
#ifndef Q_OS_WIN
        QTest::newRow("disk full") << QString() << QStringList {"ana", "secreto"};
#endif
        QTest::newRow("user file is a folder") << "ductls.dll" << QStringList {"", "nueva"};
        QTest::newRow("password file is a folder") << "dpctls.dll" << QStringList {"luis", ""};
        QTest::newRow("folder is a file") << "." << QStringList {"", ""};
    }

    void failedSaveKeepsStoredValues()
    {
        QFETCH(QString, blocked);
        QFETCH(QStringList, stored);

        QVERIFY(store().createFolder());
        QVERIFY(store().save(QStringLiteral("ana"), QStringLiteral("secreto")));
        if (blocked == QLatin1String(".")) {
            QVERIFY(QDir(store().folder()).removeRecursively());
            QVERIFY(putFile(store().folder(), "in the way"));
        } else if (!blocked.isEmpty()) {
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
        QCOMPARE(QStringList({store().readUser(), store().readPass()}), stored);
        if (blocked.isEmpty())
            QCOMPARE(QDir(store().folder()).entryList(QDir::Files),
                     QStringList({"dpctls.dll", "ductls.dll"}));
    }

#ifndef Q_OS_WIN
    void folderAndFilesAreOwnersOnly()
    {
        QVERIFY(store().createFolder());
        QCOMPARE(modeOf(store().folder()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A file left with the usual mode by an earlier version is tightened by the next save.
        QVERIFY(putFile(store().passFile(), QByteArray(4, '\0')));
        QVERIFY(QFile::setPermissions(store().passFile(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                          | QFile::ReadOther));
        QVERIFY(store().save(QStringLiteral("ana"), QStringLiteral("pw")));
        for (const QString &file : {store().userFile(), store().passFile()})
            QCOMPARE(modeOf(file), QFile::ReadOwner | QFile::WriteOwner);
    }
#endif

    void firstStart_data()
    {
        QTest::addColumn<bool>("folderFound");
        QTest::newRow("nothing there: folder and empty files made") << false;
        QTest::newRow("folder without files: left alone") << true;
    }

    void firstStart()
    {
        QFETCH(bool, folderFound);
        const bool filesMade = !folderFound;
        if (folderFound)
            QVERIFY(QDir().mkpath(store().folder()));
        MainWindow window;
        QCOMPARE(held(window), QStringList({"", ""}));
        for (const QString &file : {store().userFile(), store().passFile()}) {
            QCOMPARE(fileBytes(file), filesMade ? QByteArray(4, '\0') : QByteArray());
#ifndef Q_OS_WIN
            QCOMPARE(modeOf(file),
                     filesMade ? QFile::ReadOwner | QFile::WriteOwner : QFile::Permissions());
#endif
        }
    }

#ifdef Q_OS_WIN
    // The folder that existing installations use, in the build's own Wine prefix only.
    void firstStartInTmpRB()
    {
        if (!underWine())
            QSKIP("would touch this user's credentials");
        const auto ours = Platform::setDataFolder(std::nullopt);
        QDir(QStringLiteral("C:/tmpRB")).removeRecursively();
        {
            MainWindow window;
        }
        Platform::setDataFolder(ours);
        for (const char *file : {"C:/tmpRB/dpctls.dll", "C:/tmpRB/ductls.dll"})
            QCOMPARE(fileBytes(file), QByteArray(4, '\0'));
    }
#endif

    void userDialog_data()
    {
        // The row's name lists the steps, from a dialog opened on "ana" and "secreto".
        QTest::addColumn<bool>("byButton");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("expected");
        const QStringList luis {"luis", "nueva"};
        const QStringList odd {"  ana maría ", QStringLiteral("\"x\" 'y' ^&%!€\U0001F512")};
        const QStringList old {"ana", "secreto"};
        QTest::newRow("OK") << false << luis << old;
        QTest::newRow("type, OK (blanks and symbols kept)") << true << odd << odd;
        QTest::newRow("type, Cancel") << false << luis << old;
        QTest::newRow("type, Escape") << false << luis << old;
        QTest::newRow("erase, Cancel") << true << luis << QStringList {"", ""};
        QTest::newRow("erase, OK") << false << luis << QStringList {"", ""};
        QTest::newRow("block, OK") << false << luis << QStringList {"", ""};
    }

    void userDialog()
    {
        QFETCH(bool, byButton);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expected);
        const QStringList steps
            = QString::fromLatin1(QTest::currentDataTag()).section(" (", 0, 0).split(", ");

        QVERIFY(store().createFolder() && store().save("ana", "secreto"));
        MainWindow window;
        // Modal; then a warning if a save fails, or after an erase: still open, files and
        // fields emptied.
        QStringList seen;
        configureUser(window, byButton, [&](QDialog *dialog) {
            seen << QString::number(QApplication::activeModalWidget() == dialog);
            whenVisible<QMessageBox>(dialog, [&seen](QMessageBox *box) {
                seen << box->windowTitle() << box->text();
                box->close();
            });
            for (const QString &step : steps) {
                perform(dialog, step, typed);
                if (step == QLatin1String("erase"))
                    seen << QString::number(dialog->isVisible()) << stored()
                         << dialog->findChild<QLineEdit *>("lineEditUser")->text()
                         << dialog->findChild<QLineEdit *>("lineEditPass")->text();
            }
        });
        QStringList expectedSeen {"1"};
        if (steps.first() == QLatin1String("erase"))
            expectedSeen << "1"
                         << ""
                         << ""
                         << ""
                         << "";
        if (steps.first() == QLatin1String("block"))
            expectedSeen << "Configuración de usuario"
                         << QStringLiteral("No se han podido guardar los datos de usuario en %1.")
                                .arg(QDir::toNativeSeparators(store().folder()));
        QCOMPARE(seen, expectedSeen);
        QCOMPARE(stored(), expected);
        QCOMPARE(held(window), expected); // reloaded at once
        MainWindow later; // and read at the next start
        QCOMPARE(held(later), expected);
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
