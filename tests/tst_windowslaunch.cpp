#include "commandline.h"
#include "config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The Java command as Centinela composes it on Windows, handed to a real cmd.exe (Wine's)
// through msvcrt's system() after the ANSI conversion, by the driver in wine/. The Java
// client is a recording app.exe; calc.exe and pwned.exe are decoys that must never run.
class TestWindowsLaunch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void valueArrivesWhole_data();
    void valueArrivesWhole();
    void nothingElseAppeared();

private:
    bool wine(const QStringList &arguments, int timeoutSeconds = 120);
    QStringList recordOf(int line) const;

    QTemporaryDir work;
    QHash<QString, QString> codePage; // each value as the ANSI code page carries it
};

namespace {

constexpr int port = 9083;
const QString host = QStringLiteral(CENTINELA_SCADA_HOST);
// Set in cmd's environment; expanding it would run pwned.
const QByteArray injectingVariable = "x&pwned";

// Long enough that the line, with both values escaped, just fits cmd's 8191 characters.
QString ampersandsNearTheLimit()
{
    const int fixed = CommandLine::javaClient(host, port, {}, {}, Platform::windowsCmd()).size();
    return QString((8191 - fixed) / 4, u'&');
}

const QList<std::pair<const char *, QString>> &values()
{
    static const QList<std::pair<const char *, QString>> table = {
        {"full-width ampersands", QStringLiteral("＆calc＆")},
        {"full-width caret before an ampersand", QStringLiteral("＾&calc")},
        {"full-width bar", QStringLiteral("a｜pwned")},
        {"full-width redirections", QStringLiteral("a＞out.txt＜in.txt")},
        {"full-width percent signs", QStringLiteral("％CENTINELA_AMP％")},
        {"full-width quotes round a blank", QStringLiteral("＂a &calc＂")},
        {"ampersand", QStringLiteral("x&calc")},
        {"double ampersand", QStringLiteral("x&&calc")},
        {"bar", QStringLiteral("a|pwned")},
        {"double bar", QStringLiteral("a||pwned")},
        {"redirection out", QStringLiteral("a>out.txt")},
        {"redirection in", QStringLiteral("a<in.txt")},
        {"parentheses", QStringLiteral("(calc)")},
        {"every special", QStringLiteral("^&|<>()\"%!")},
        {"caret inside", QStringLiteral("a^b")},
        {"trailing caret", QStringLiteral("abc^")},
        {"lone caret", QStringLiteral("^")},
        {"exclamation marks", QStringLiteral("!CENTINELA_AMP!")},
        {"variable", QStringLiteral("%CENTINELA_AMP%")},
        {"PATH", QStringLiteral("%PATH%")},
        {"substring of a variable", QStringLiteral("%CENTINELA_AMP:~0,7%")},
        {"substitution in a variable", QStringLiteral("%CENTINELA_AMP:x=y%")},
        {"the percent escape itself", QStringLiteral("%%cd:~,%")},
        {"lone percent", QStringLiteral("50%")},
        {"quote opening cmd's quoted mode", QStringLiteral("\"&calc")},
        {"quotes round an ampersand", QStringLiteral("\"&calc\"")},
        {"quote, blank and ampersands", QStringLiteral("a\" &pwned& \"b")},
        {"backslash before a quote", QStringLiteral("a\\\"&calc")},
        {"blank and trailing backslashes", QStringLiteral("a b\\\\")},
        {"blank", QStringLiteral("José Luis")},
        {"leading and trailing blanks", QStringLiteral("  ana  ")},
        {"tab", QStringLiteral("a\tb")},
        {"line feed before an ampersand", QStringLiteral("a\n&calc")},
        {"control characters", QStringLiteral("\x01x\x1f\x7f")},
        {"letters of the code page", QStringLiteral("ñandú€")},
        {"letters outside the code page", QStringLiteral("山田 Ελένη")},
        {"plain punctuation", QStringLiteral(".-_@+=,:/#$~*?[]{}';")},
        {"ampersands near the length limit", ampersandsNearTheLimit()},
    };
    return table;
}

// Each value goes in as both the user name and the password, once through start and once
// straight to app: Wine's start rebuilds the line it hands on, so only the second shows the
// argv that real start passes on unchanged.
int lineThroughStart(int value)
{
    return 2 * value;
}
int lineStraightToApp(int value)
{
    return 2 * value + 1;
}

bool writeLines(const QString &path, const QStringList &lines)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(lines.join(u'\n').toUtf8() + '\n') > 0;
}

} // namespace

bool TestWindowsLaunch::wine(const QStringList &arguments, int timeoutSeconds)
{
    QProcess process;
    process.setWorkingDirectory(work.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), QStringLiteral(CENTINELA_WINE_PREFIX));
    environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    environment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    // A Spanish desktop: Windows-1252 as the ANSI code page.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("es_ES.UTF-8"));
    environment.insert(QStringLiteral("CENTINELA_AMP"), QString::fromLatin1(injectingVariable));
    environment.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(CENTINELA_WINE), arguments);
    const bool done = process.waitForFinished(timeoutSeconds * 1000);
    if (!done)
        qWarning() << "wine" << arguments << "did not finish:" << process.errorString();
    return done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList TestWindowsLaunch::recordOf(int line) const
{
    QFile file(work.filePath(QStringLiteral("record-%1.txt").arg(line)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList fields = QString::fromUtf8(file.readAll()).split(QChar(0));
    fields.removeLast(); // after the last terminator
    return fields;
}

void TestWindowsLaunch::initTestCase()
{
    QVERIFY(work.isValid());
    const QString programs = QStringLiteral(CENTINELA_WINE_PROGRAMS);
    for (const char *name : {"app.exe", "calc.exe", "pwned.exe"})
        QVERIFY(QFile::copy(programs + QStringLiteral("/probe.exe"), work.filePath(name)));
    QVERIFY(QFile::copy(programs + QStringLiteral("/driver.exe"), work.filePath("driver.exe")));
    // Kept in the build folder: making a Wine prefix takes longer than the whole test.
    if (!QFileInfo::exists(QStringLiteral(CENTINELA_WINE_PREFIX "/system.reg")))
        QVERIFY(wine({QStringLiteral("wineboot"), QStringLiteral("--init")}, 300));

    // Lines carry no line feeds; control characters are left out before anything else anyway.
    QStringList raw;
    for (const auto &[name, value] : values())
        raw << CommandLine::withoutControlCharacters(value);
    QVERIFY(writeLines(work.filePath("values.txt"), raw));
    QVERIFY(wine({QStringLiteral("driver.exe"), QStringLiteral("roundtrip"),
                  QStringLiteral("values.txt"), QStringLiteral("carried.txt")}));
    QFile carried(work.filePath("carried.txt"));
    QVERIFY(carried.open(QIODevice::ReadOnly));
    const QStringList back = QString::fromUtf8(carried.readAll()).split(u'\n');
    QCOMPARE(back.size(), raw.size() + 1);
    for (int i = 0; i < raw.size(); ++i)
        codePage.insert(raw.at(i), back.at(i));

    // What Centinela would compose on a Windows with that code page.
    Platform::CommandProcessor cmd = Platform::windowsCmd();
    cmd.throughCodePage = [this](const QString &value) {
        return codePage.value(CommandLine::withoutControlCharacters(value));
    };
    QStringList lines;
    for (const auto &[name, value] : values()) {
        const QString line = CommandLine::javaClient(host, port, value, value, cmd);
        QVERIFY2(cmd.accepts(line), qPrintable(line));
        lines << line << line.mid(QStringLiteral("start ").size());
    }
    QVERIFY(writeLines(work.filePath("lines.txt"), lines));
    QVERIFY(wine({QStringLiteral("driver.exe"), QStringLiteral("run"), QStringLiteral("lines.txt")},
                 600));
}

void TestWindowsLaunch::cleanupTestCase()
{
    // The prefix's server would otherwise linger for a few seconds after the test.
    QProcess::execute(QStringLiteral(CENTINELA_WINESERVER), {QStringLiteral("-k")});
}

void TestWindowsLaunch::valueArrivesWhole_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");
    for (int i = 0; i < values().size(); ++i)
        QTest::newRow(values().at(i).first) << i << values().at(i).second;
}

void TestWindowsLaunch::valueArrivesWhole()
{
    QFETCH(int, index);
    QFETCH(QString, value);

    for (const int line : {lineThroughStart(index), lineStraightToApp(index)}) {
        QVERIFY2(!recordOf(line).isEmpty(), "app.exe did not run");
        const QStringList marks
            = QDir(work.path()).entryList({QStringLiteral("ran * in case %1").arg(line)});
        QVERIFY2(marks.isEmpty(), qPrintable(marks.join(u' ')));
    }
    const QString arriving = codePage.value(CommandLine::withoutControlCharacters(value));
    const QStringList record = recordOf(lineStraightToApp(index));
    QCOMPARE(
        record.mid(1),
        (QStringList {QStringLiteral("multipleinstance"), host + u':' + QString::number(port),
                      QStringLiteral("user:") + arriving, QStringLiteral("password:") + arriving}));
}

void TestWindowsLaunch::nothingElseAppeared()
{
    QStringList expected = {"app.exe",    "calc.exe",    "pwned.exe", "driver.exe",
                            "values.txt", "carried.txt", "lines.txt"};
    for (int line = 0; line < 2 * values().size(); ++line)
        expected << QStringLiteral("record-%1.txt").arg(line);
    QStringList found = QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    found.sort();
    expected.sort();
    QCOMPARE(found, expected);
}

QTEST_GUILESS_MAIN(TestWindowsLaunch)
#include "tst_windowslaunch.moc"
