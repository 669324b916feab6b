#include "dialogs/credentialstore.h"
#include "support.h"

#include <QDir>
#include <QTest>

#include <future>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

// The credential files: their exact bytes, what damaged files read as, and how a save that
// fails leaves what was stored.
class TestCredentialFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void recordBytes_data();
    void recordBytes();
    void damagedFileReadsEmpty_data();
    void damagedFileReadsEmpty();
    void fifoReadsEmptyWithoutWaiting();
    void failedSaveKeepsStoredValues_data();
    void failedSaveKeepsStoredValues();
    void folderAndFilesAreOwnersOnly();
    void firstStartFilesNeverReplaceOrCutOff();

private:
    std::unique_ptr<QTemporaryDir> scratch;
    QString path() const { return scratch->filePath(QStringLiteral("ductls.dll")); }
};

enum class Failure { DiskFull, PathIsFolder, ParentIsFile };
Q_DECLARE_METATYPE(Failure)

void TestCredentialFiles::init()
{
    scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(scratch->isValid());
}

void TestCredentialFiles::recordBytes_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("abc") << QStringLiteral("abc")
                         << QByteArray("\x00\x00\x00\x06\x00\x61\x00\x62\x00\x63", 10);
    QTest::newRow("one letter over ten")
        << QStringLiteral("k") << QByteArray("\x00\x00\x00\x02\x00\x6B", 6);
    QTest::newRow("ñ") << QStringLiteral("ñ") << QByteArray("\x00\x00\x00\x02\x00\xF1", 6);
    QTest::newRow("U+1F512 takes a surrogate pair")
        << QString::fromUcs4(U"\U0001F512") << QByteArray("\x00\x00\x00\x04\xD8\x3D\xDD\x12", 8);
    QTest::newRow("blanks and quotes")
        << QStringLiteral(" \"'") << QByteArray("\x00\x00\x00\x06\x00\x20\x00\x22\x00\x27", 10);
    QTest::newRow("empty") << QStringLiteral("") << QByteArray(4, '\0');
    QTest::newRow("unset, never the null marker") << QString() << QByteArray(4, '\0');
}

void TestCredentialFiles::recordBytes()
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

void TestCredentialFiles::damagedFileReadsEmpty_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("missing") << QByteArray();
    QTest::newRow("0 bytes") << QByteArray("", 0);
    QTest::newRow("3 bytes") << QByteArray(3, '\0');
    QTest::newRow("null marker, then data") << QByteArray("\xFF\xFF\xFF\xFF\x00\x61", 6);
    QTest::newRow("odd length") << QByteArray("\x00\x00\x00\x07\x00\x61\x00\x62\x00\x63\x00", 11);
    QTest::newRow("data shorter than announced") << QByteArray("\x00\x00\x00\x08\x00\x61", 6);
    QTest::newRow("0x7FFFFFFE over ten bytes")
        << QByteArray("\x7F\xFF\xFF\xFE", 4) + QByteArray(10, 'a');
    QTest::newRow("0xFFFFFFFE over ten bytes")
        << QByteArray("\xFF\xFF\xFF\xFE", 4) + QByteArray(10, 'a');
}

void TestCredentialFiles::damagedFileReadsEmpty()
{
    QFETCH(QByteArray, bytes);
    if (!bytes.isNull())
        QVERIFY(putFile(path(), bytes));

#if defined(Q_OS_UNIX) && !defined(CENTINELA_SANITIZED)
    // A length that the file does not back must not turn into an allocation: with 256 MiB of
    // address space to spare, one would fail. (The sanitizers need their address space.)
    const QList<QByteArray> statm = fileBytes(QStringLiteral("/proc/self/statm")).split(' ');
    const ResourceLimit limit(RLIMIT_AS,
                              statm.value(0).toULongLong() * sysconf(_SC_PAGESIZE) + (256 << 20));
#endif
    QVERIFY(CredentialRecord::readFile(path()).isEmpty());
}

void TestCredentialFiles::fifoReadsEmptyWithoutWaiting()
{
#ifdef Q_OS_UNIX
    QVERIFY(mkfifo(QFile::encodeName(path()).constData(), 0600) == 0);
    auto reading
        = std::async(std::launch::async, [this] { return CredentialRecord::readFile(path()); });
    const bool done = reading.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    if (!done) {
        // Lets a reader that waits for a writer go.
        QFile writer(path());
        writer.open(QIODevice::WriteOnly);
    }
    QVERIFY2(done, "reading waited for someone to write into the FIFO");
    QVERIFY(reading.get().isEmpty());
#endif
}

void TestCredentialFiles::failedSaveKeepsStoredValues_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("blocked"); // the file the failure is put on

#ifdef Q_OS_UNIX
    QTest::newRow("disk full") << Failure::DiskFull << QString();
#endif
    QTest::newRow("user file is a folder") << Failure::PathIsFolder << QStringLiteral("ductls.dll");
    QTest::newRow("password file is a folder")
        << Failure::PathIsFolder << QStringLiteral("dpctls.dll");
    QTest::newRow("folder is a file") << Failure::ParentIsFile << QString();
}

void TestCredentialFiles::failedSaveKeepsStoredValues()
{
    QFETCH(Failure, failure);
    QFETCH(QString, blocked);

    const CredentialStore store(scratch->filePath(QStringLiteral("tmpRB")));
    QVERIFY(store.createFolder());
    QVERIFY(store.save(QStringLiteral("ana"), QStringLiteral("secreto")));
    const QByteArray userBytes = fileBytes(store.userFile());
    const QByteArray passBytes = fileBytes(store.passFile());
    if (failure == Failure::PathIsFolder) {
        QVERIFY(QFile::remove(store.folder() + u'/' + blocked));
        QVERIFY(QDir(store.folder()).mkdir(blocked));
    }
    if (failure == Failure::ParentIsFile) {
        QVERIFY(QDir(store.folder()).removeRecursively());
        QVERIFY(putFile(store.folder(), "in the way"));
    }
    {
#ifdef Q_OS_UNIX
        // Room for a header only: each write breaks off half-way.
        std::unique_ptr<ResourceLimit> full;
        if (failure == Failure::DiskFull)
            full = std::make_unique<ResourceLimit>(RLIMIT_FSIZE, 4);
#endif
        QVERIFY(!store.save(QStringLiteral("luis"), QStringLiteral("nueva")));
    }
    // The file that could be written holds the new value; the other keeps its old bytes.
    if (failure == Failure::PathIsFolder) {
        const bool userBlocked = blocked == QLatin1String("ductls.dll");
        QCOMPARE(store.readUser(), userBlocked ? QString() : QStringLiteral("luis"));
        QCOMPARE(store.readPass(), userBlocked ? QStringLiteral("nueva") : QString());
    } else if (failure == Failure::DiskFull) {
        QCOMPARE(fileBytes(store.userFile()), userBytes);
        QCOMPARE(fileBytes(store.passFile()), passBytes);
        QCOMPARE(QDir(store.folder()).entryList(QDir::Files),
                 QStringList({"dpctls.dll", "ductls.dll"}));
    } else {
        QCOMPARE(fileBytes(store.folder()), QByteArray("in the way"));
    }
}

void TestCredentialFiles::folderAndFilesAreOwnersOnly()
{
#ifdef Q_OS_UNIX
    const CredentialStore store(scratch->filePath(QStringLiteral("share/tmpRB")));
    QVERIFY(store.createFolder());
    QCOMPARE(modeOf(store.folder()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A file left with the usual mode by an earlier version is tightened by the next save.
    QVERIFY(putFile(store.passFile(), QByteArray(4, '\0')));
    QVERIFY(QFile::setPermissions(store.passFile(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                      | QFile::ReadOther));
    QVERIFY(store.save(QStringLiteral("ana"), QStringLiteral("pw")));
    for (const QString &file : {store.userFile(), store.passFile()})
        QCOMPARE(modeOf(file), QFile::ReadOwner | QFile::WriteOwner);
#endif
}

void TestCredentialFiles::firstStartFilesNeverReplaceOrCutOff()
{
    const CredentialStore store(scratch->path());
    const QByteArray abc("\x00\x00\x00\x06\x00\x61\x00\x62\x00\x63", 10);
    QVERIFY(putFile(store.userFile(), abc));
#ifdef Q_OS_UNIX
    {
        const ResourceLimit full(RLIMIT_FSIZE, 2);
        QVERIFY(!store.createEmptyFiles());
    }
    QVERIFY(!QFileInfo::exists(store.passFile()));
#endif
    QVERIFY(!store.createEmptyFiles());
    QCOMPARE(fileBytes(store.userFile()), abc);
    QCOMPARE(fileBytes(store.passFile()), QByteArray(4, '\0'));
}

QTEST_GUILESS_MAIN(TestCredentialFiles)
#include "tst_credentialfiles.moc"
