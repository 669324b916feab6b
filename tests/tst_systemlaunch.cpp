#include "commandline.h"
#include "fakecommands.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QTest>

// The Java command through the real system() and /bin/sh: a recording "start" first on PATH
// must receive each credential as one literal argument, and nothing else may run.
class TestSystemLaunch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void credentialsArriveLiterally_data();
    void credentialsArriveLiterally();

private:
    QByteArrayList recordedArguments() const;

    FakeCommands bin;
};

static const char recorder[] = "#!/bin/sh\n"
                               "for argument in \"$@\"; do\n"
                               "    printf '%s\\0' \"$argument\"\n"
                               "done >> \"$CENTINELA_RECORD\"\n";

// Any of these running means a value escaped its quoting.
static const char intruder[] = "#!/bin/sh\n"
                               "echo \"$0\" >> \"$CENTINELA_INTRUDERS\"\n";

QByteArrayList TestSystemLaunch::recordedArguments() const
{
    QFile record(bin.filePath(QStringLiteral("record")));
    if (!record.open(QIODevice::ReadOnly))
        return {};
    QByteArrayList arguments = record.readAll().split('\0');
    arguments.removeLast(); // after the last terminator
    return arguments;
}

void TestSystemLaunch::initTestCase()
{
    QVERIFY(bin.isValid());
    QVERIFY(bin.add(QStringLiteral("start"), recorder));
    for (const char *name : {"ss", "b", "id", "x", "calc", "pwned", "aid"})
        QVERIFY(bin.add(QString::fromLatin1(name), intruder));
    qputenv("CENTINELA_RECORD", QFile::encodeName(bin.filePath(QStringLiteral("record"))));
    qputenv("CENTINELA_INTRUDERS", QFile::encodeName(bin.filePath(QStringLiteral("intruders"))));
}

void TestSystemLaunch::credentialsArriveLiterally_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("arrivingPassword");

    QTest::newRow("ordinary") << "operador"
                              << "secreto1"
                              << "secreto1";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("ampersand") << "p&ss"
                               << "x&calc"
                               << "x&calc";
    QTest::newRow("semicolon") << "a;b"
                               << "a;pwned"
                               << "a;pwned";
    QTest::newRow("command substitution") << "$(id)"
                                          << "$(pwned)"
                                          << "$(pwned)";
    QTest::newRow("backquotes") << "`x`"
                                << "`pwned`"
                                << "`pwned`";
    QTest::newRow("single quote") << "it's"
                                  << "'"
                                  << "'";
    QTest::newRow("blanks and quotes") << "Juan Pérez"
                                       << "a \"b\" c"
                                       << "a \"b\" c";
    QTest::newRow("redirection") << "a>out.txt"
                                 << "a|pwned"
                                 << "a|pwned";
    QTest::newRow("line feed") << "a\nid"
                               << "a\npwned"
                               << "apwned";
}

void TestSystemLaunch::credentialsArriveLiterally()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, arrivingPassword);
    QFile::remove(bin.filePath(QStringLiteral("record")));

    const QString command = CommandLine::javaClient(QStringLiteral("scada.example"), 9083, user,
                                                    password, Platform::posixShell());
    QCOMPARE(Platform::systemCommand(command.toLocal8Bit()), 0);

    const QByteArray arrivingUser = CommandLine::withoutControlCharacters(user).toUtf8();
    QCOMPARE(recordedArguments(),
             (QByteArrayList {"app", "multipleinstance", "scada.example:9083",
                              "user:" + arrivingUser, "password:" + arrivingPassword.toUtf8()}));
    QVERIFY2(!QFile::exists(bin.filePath(QStringLiteral("intruders"))), "a second command ran");
    QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("out.txt"))));
}

QTEST_APPLESS_MAIN(TestSystemLaunch)
#include "tst_systemlaunch.moc"
