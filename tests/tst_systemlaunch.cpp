#include "commandline.h"
#include "support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// The command lines through the real system(), /bin/sh and the "start" helper of the
// Centinela in CENTINELA_BIN_DIR, to recording programs: "app" in the current folder,
// "xdg-open" and the intruders first on PATH. Each value must arrive as one literal argument,
// nothing else may run, and start must not wait for the client.
class TestSystemLaunch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void commandReachesItsProgram_data();
    void commandReachesItsProgram();
    void unknownProgramFailsAndRunsNothing();

private:
    QString inCurrentFolder(const char *name) const;
    QByteArrayList recordedArguments() const;

    FakeCommands bin;
    QTemporaryDir currentFolder;
};

// Records its name and arguments.
static const char recorder[] = "#!/bin/sh\n"
                               "printf '%s\\0' \"${0##*/}\" \"$@\" >> \"$CENTINELA_RECORD\"\n";
// A client records the same, then stays open for a while.
static const QByteArray client = QByteArray(recorder) + "exec sleep 5 >/dev/null 2>&1\n";

// Any of these running means a value escaped its quoting.
static const char intruder[] = "#!/bin/sh\n"
                               "echo \"$0\" >> \"$CENTINELA_INTRUDERS\"\n";

QString TestSystemLaunch::inCurrentFolder(const char *name) const
{
    return currentFolder.filePath(QString::fromLatin1(name));
}

QByteArrayList TestSystemLaunch::recordedArguments() const
{
    QFile record(inCurrentFolder("record"));
    if (!record.open(QIODevice::ReadOnly))
        return {};
    QByteArrayList arguments = record.readAll().split('\0');
    arguments.removeLast(); // after the last terminator
    return arguments;
}

void TestSystemLaunch::initTestCase()
{
    const QString centinelaFolder = qEnvironmentVariable("CENTINELA_BIN_DIR");
    QVERIFY2(!centinelaFolder.isEmpty(), "CENTINELA_BIN_DIR names the folder of Centinela");
    const QFileInfo helper(Platform::startHelperFolder(centinelaFolder) + QStringLiteral("/start"));
    QVERIFY2(helper.isExecutable(), qPrintable(helper.filePath() + QStringLiteral(" missing")));
    Platform::provideStartCommand(centinelaFolder);

    QVERIFY(bin.isValid() && currentFolder.isValid());
    QVERIFY(QDir::setCurrent(currentFolder.path()));
    QVERIFY(writeScript(inCurrentFolder("app"), client));
    QVERIFY(bin.add(QStringLiteral("xdg-open"), client));
    for (const char *name : {"ss", "b", "id", "x", "calc", "pwned", "aid"})
        QVERIFY(bin.add(QString::fromLatin1(name), intruder));
    qputenv("CENTINELA_RECORD", QFile::encodeName(inCurrentFolder("record")));
    qputenv("CENTINELA_INTRUDERS", QFile::encodeName(bin.filePath(QStringLiteral("intruders"))));
}

// What the Java client receives with the given credentials.
static QByteArrayList javaArguments(const QByteArray &user, const QByteArray &password)
{
    return {"app", "multipleinstance", "scada.example:9083", "user:" + user,
            "password:" + password};
}

void TestSystemLaunch::commandReachesItsProgram_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("userHasOwnStart");
    QTest::addColumn<QByteArrayList>("arriving");

    const QString host = QStringLiteral("scada.example");
    const auto java = [&host](const char *user, const char *password) {
        return CommandLine::javaClient(host, 9083, QString::fromUtf8(user),
                                       QString::fromUtf8(password), Platform::posixShell());
    };
    QTest::newRow("HTML5") << CommandLine::html5Client(host, 9083) << false
                           << QByteArrayList {"xdg-open", "http://scada.example:9083"};
    QTest::newRow("user's own start")
        << java("operador", "secreto1") << true
        << (QByteArrayList {"start"} + javaArguments("operador", "secreto1"));
    QTest::newRow("ordinary") << java("operador", "secreto1") << false
                              << javaArguments("operador", "secreto1");
    QTest::newRow("empty") << java("", "") << false << javaArguments("", "");
    QTest::newRow("ampersand") << java("p&ss", "x&calc") << false
                               << javaArguments("p&ss", "x&calc");
    QTest::newRow("semicolon") << java("a;b", "a;pwned") << false
                               << javaArguments("a;b", "a;pwned");
    QTest::newRow("command substitution")
        << java("$(id)", "$(pwned)") << false << javaArguments("$(id)", "$(pwned)");
    QTest::newRow("backquotes") << java("`x`", "`pwned`") << false
                                << javaArguments("`x`", "`pwned`");
    QTest::newRow("single quote") << java("it's", "'") << false << javaArguments("it's", "'");
    QTest::newRow("blanks and quotes")
        << java("Juan Pérez", "a \"b\" c") << false << javaArguments("Juan Pérez", "a \"b\" c");
    QTest::newRow("redirection") << java("a>out.txt", "a|pwned") << false
                                 << javaArguments("a>out.txt", "a|pwned");
    QTest::newRow("line feed") << java("a\nid", "a\npwned") << false
                               << javaArguments("aid", "apwned");
}

void TestSystemLaunch::commandReachesItsProgram()
{
    QFETCH(QString, command);
    QFETCH(bool, userHasOwnStart);
    QFETCH(QByteArrayList, arriving);
    QFile::remove(inCurrentFolder("record"));
    QFile::remove(bin.filePath(QStringLiteral("start")));
    if (userHasOwnStart)
        QVERIFY(bin.add(QStringLiteral("start"), recorder));

    QElapsedTimer handOver;
    handOver.start();
    QCOMPARE(Platform::systemCommand(command.toLocal8Bit()), 0);
    QVERIFY2(handOver.elapsed() < 2500, "start waited for the client");

    QTRY_COMPARE(recordedArguments(), arriving);
    QVERIFY2(!QFile::exists(bin.filePath(QStringLiteral("intruders"))), "a second command ran");
    QVERIFY(!QFile::exists(inCurrentFolder("out.txt")));
}

void TestSystemLaunch::unknownProgramFailsAndRunsNothing()
{
    QFile::remove(inCurrentFolder("record"));
    const QByteArray command = "start centinela-no-such-program x 2>errors";
    QVERIFY(Platform::systemCommand(command) != 0);

    QFile errors(inCurrentFolder("errors"));
    QVERIFY(errors.open(QIODevice::ReadOnly));
    const QByteArray message = errors.readAll();
    QVERIFY2(message.startsWith("start: centinela-no-such-program") && message.count('\n') == 1,
             message.constData());
    QVERIFY(!QFile::exists(inCurrentFolder("record")));
}

QTEST_APPLESS_MAIN(TestSystemLaunch)
#include "tst_systemlaunch.moc"
