#include "credentialfiles.h"
#include "dialogs/credentialstore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The credential files: their exact bytes, what damaged files read as, and how they are written.
class TestCredentialStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void records_data();
    void writesExactBytes();
    void writesExactBytes_data() { records_data(); }
    void readsBack();
    void readsBack_data() { records_data(); }
    void badFilesReadEmpty_data();
    void badFilesReadEmpty();
    void noRegularFileReadsEmpty();
    void shorterValueLeavesNoOldBytes();
    void saveWritesPasswordWhenUserFails();
    void folderAndFilesAreOwnerOnly();
    void failedWriteKeepsStoredValue();
    void emptyFilesNeverReplaceOrCutOff();

private:
    std::unique_ptr<QTemporaryDir> scratch;
    QString path() const { return scratch->filePath(QStringLiteral("ductls.dll")); }
};

void TestCredentialStore::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestCredentialStore::init()
{
    scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(scratch->isValid());
}

void TestCredentialStore::records_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("abc") << QStringLiteral("abc")
                         << QByteArray("\x00\x00\x00\x06\x00\x61\x00\x62\x00\x63", 10);
    QTest::newRow("ñ") << QStringLiteral("ñ") << QByteArray("\x00\x00\x00\x02\x00\xF1", 6);
    QTest::newRow("U+1F512 takes a surrogate pair")
        << QString::fromUcs4(U"\U0001F512") << QByteArray("\x00\x00\x00\x04\xD8\x3D\xDD\x12", 8);
    QTest::newRow("blanks and quotes")
        << QStringLiteral(" \"'") << QByteArray("\x00\x00\x00\x06\x00\x20\x00\x22\x00\x27", 10);
    QTest::newRow("empty") << QStringLiteral("") << QByteArray(4, '\0');
    QTest::newRow("unset, never the null marker") << QString() << QByteArray(4, '\0');
}

void TestCredentialStore::writesExactBytes()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, bytes);

    QVERIFY(CredentialRecord::writeFile(path(), value));
    QCOMPARE(fileBytes(path()), bytes);
}

void TestCredentialStore::readsBack()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, bytes);

    QVERIFY(putFile(path(), bytes));
    QCOMPARE(CredentialRecord::readFile(path()), value);
    // Whatever follows the record is not part of it.
    QVERIFY(putFile(path(), bytes + QByteArray("\x00\x02\x00\x78", 4)));
    QCOMPARE(CredentialRecord::readFile(path()), value);
}

void TestCredentialStore::badFilesReadEmpty_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("0 bytes") << QByteArray();
    QTest::newRow("1 byte") << QByteArray(1, '\0');
    QTest::newRow("2 bytes") << QByteArray(2, '\0');
    QTest::newRow("3 bytes") << QByteArray(3, '\0');
    QTest::newRow("null marker") << QByteArray("\xFF\xFF\xFF\xFF", 4);
    QTest::newRow("null marker, then data") << QByteArray("\xFF\xFF\xFF\xFF\x00\x61", 6);
    QTest::newRow("odd length") << QByteArray("\x00\x00\x00\x07\x00\x61\x00\x62\x00\x63\x00", 11);
    QTest::newRow("data shorter than announced") << QByteArray("\x00\x00\x00\x08\x00\x61", 6);
    QTest::newRow("0x7FFFFFFE over ten bytes")
        << QByteArray("\x7F\xFF\xFF\xFE", 4) + QByteArray(10, 'a');
    QTest::newRow("0xFFFFFFFE over ten bytes")
        << QByteArray("\xFF\xFF\xFF\xFE", 4) + QByteArray(10, 'a');
}

void TestCredentialStore::badFilesReadEmpty()
{
    QFETCH(QByteArray, bytes);

    QVERIFY(putFile(path(), bytes));
    QVERIFY(CredentialRecord::readFile(path()).isEmpty());
}

void TestCredentialStore::noRegularFileReadsEmpty()
{
    QVERIFY(CredentialRecord::readFile(path()).isEmpty());
    QVERIFY(QDir(scratch->path()).mkdir(QStringLiteral("ductls.dll")));
    QVERIFY(CredentialRecord::readFile(path()).isEmpty());
}

void TestCredentialStore::shorterValueLeavesNoOldBytes()
{
    QVERIFY(CredentialRecord::writeFile(path(), QStringLiteral("abcdefghij")));
    QCOMPARE(QFileInfo(path()).size(), 24);
    QVERIFY(CredentialRecord::writeFile(path(), QStringLiteral("k")));
    QCOMPARE(fileBytes(path()), QByteArray("\x00\x00\x00\x02\x00\x6B", 6));
}

void TestCredentialStore::saveWritesPasswordWhenUserFails()
{
    const CredentialStore store(scratch->path());
    QVERIFY(QDir().mkdir(store.userFile()));
    QVERIFY(!store.save(QStringLiteral("ana"), QStringLiteral("pw")));
    QCOMPARE(store.readPass(), QStringLiteral("pw"));
}

void TestCredentialStore::folderAndFilesAreOwnerOnly()
{
#ifdef Q_OS_WIN
    QSKIP("Windows leaves the permissions to the folder's defaults");
#else
    const CredentialStore store(scratch->filePath(QStringLiteral("share/tmpRB")));
    QVERIFY(!store.folderExists());
    QVERIFY(store.createFolder());
    QVERIFY(store.folderExists());
    constexpr auto ownerAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QCOMPARE(ownerGroupOther(store.folder()), ownerAll);

    // A file left by an earlier version with the usual mode is tightened by the next save.
    QVERIFY(putFile(store.passFile(), QByteArray(4, '\0')));
    QVERIFY(QFile::setPermissions(store.passFile(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                      | QFile::ReadOther));
    QVERIFY(store.save(QStringLiteral("ana"), QStringLiteral("pw")));
    constexpr auto ownerReadWrite = QFile::ReadOwner | QFile::WriteOwner;
    for (const QString &file : {store.userFile(), store.passFile()})
        QCOMPARE(ownerGroupOther(file), ownerReadWrite);
#endif
}

void TestCredentialStore::failedWriteKeepsStoredValue()
{
#ifdef Q_OS_UNIX
    QVERIFY(CredentialRecord::writeFile(path(), QStringLiteral("abc")));
    {
        // Room for the header only: the write breaks off half-way, as on a full disk.
        const FileSizeLimit limit(4);
        QVERIFY(!CredentialRecord::writeFile(path(), QStringLiteral("defghi")));
    }
    QCOMPARE(fileBytes(path()), QByteArray("\x00\x00\x00\x06\x00\x61\x00\x62\x00\x63", 10));
    QCOMPARE(QDir(scratch->path()).entryList(QDir::Files), QStringList {"ductls.dll"});
#else
    QSKIP("needs a per-process file size limit");
#endif
}

// The first start's files: one already there keeps its bytes, and one that could not be written
// whole is not left behind cut off.
void TestCredentialStore::emptyFilesNeverReplaceOrCutOff()
{
    const CredentialStore store(scratch->path());
    const QByteArray abc("\x00\x00\x00\x06\x00\x61\x00\x62\x00\x63", 10);
    QVERIFY(putFile(store.userFile(), abc));
#ifdef Q_OS_UNIX
    {
        const FileSizeLimit limit(2);
        QVERIFY(!store.createEmptyFiles());
    }
    QVERIFY(!QFileInfo::exists(store.passFile()));
#endif
    QVERIFY(!store.createEmptyFiles());
    QCOMPARE(fileBytes(store.userFile()), abc);
    QCOMPARE(fileBytes(store.passFile()), QByteArray(4, '\0'));
}

QTEST_GUILESS_MAIN(TestCredentialStore)
#include "tst_credentialstore.moc"
