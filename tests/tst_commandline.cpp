#include "commandline.h"
#include "support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTest>

namespace {

// clang-format off
const std::tuple<const char *, const char16_t *, const char16_t *> cmdRows[] = {
    {"empty", u"", u""},
    {"ordinary values unchanged", u"José1ΕλένηÑ山田.-_@+=,:/#$~*?[]{}';a\\b\\", u"José1ΕλένηÑ山田.-_@+=,:/#$~*?[]{}';a\\b\\"},
    {"every caret special", u"^&|<>()!", u"^^^&^|^<^>^(^)^!"},
    {"variable and percent", u"%PATH%50%", u"%%cd:~,%PATH%%cd:~,%50%%cd:~,%"},
    {"blanks", u" José Luis", u"^\" José Luis^\""},
    {"tab kept and quoted", u"a\tb", u"^\"a\tb^\""},
    {"quote", u"a\"b", u"^\"a\\^\"b^\""},
    {"backslashes before a quote", u"a\\\\\"&", u"^\"a\\\\\\\\\\^\"^&^\""},
    {"blank and trailing backslash", u"a b\\", u"^\"a b\\\\^\""},
    {"control characters left out", u"a\nb\r\x01&c\x7f", u"ab^&c"},
    {"full-width ampersand and caret", u"＆calc＾&x", u"^&calc^^^&x"},
    {"full-width percent signs", u"％PATH％", u"%%cd:~,%PATH%%cd:~,%"},
};
// clang-format on

#ifdef Q_OS_WIN
const QString host = QStringLiteral("scada.example");

// Each goes in as both the user name and the password.
const QList<std::pair<const char *, QString>> cmdValues = {
    {"ampersands, full-width ones too", QStringLiteral("＆calc＆x&calc&&calc")},
    {"full-width bar and redirections", QStringLiteral("a｜pwned＞out.txt＜in.txt")},
    {"full-width percent signs", QStringLiteral("％CENTINELA_AMP％")},
    {"full-width quotes round a blank", QStringLiteral("＂a &calc＂")},
    {"every special", QStringLiteral("^&|<>()\"%!")},
    {"carets inside and trailing", QStringLiteral("a^b^")},
    {"variables", QStringLiteral("%CENTINELA_AMP%%PATH%")},
    {"substring of a variable", QStringLiteral("%CENTINELA_AMP:~0,7%")},
    {"substitution in a variable", QStringLiteral("%CENTINELA_AMP:x=y%")},
    {"the percent escape itself", QStringLiteral("%%cd:~,%")},
    {"quote opening cmd's quoted mode", QStringLiteral("\"&calc")},
    {"quote, blank and ampersands", QStringLiteral("a\" &pwned& \"b")},
    {"backslash before a quote", QStringLiteral("a\\\"&calc")},
    {"blanks and trailing backslashes", QStringLiteral("  a b\\\\")},
    {"control characters before an ampersand", QStringLiteral("\x01x\n&calc\x7f")},
    {"letters in and outside the code page", QStringLiteral("José ñandú€ 山田")},
    {"plain punctuation", QStringLiteral(".-_@+=,:/#$~*?[]{}';")},
};

// What app.exe recorded: its arguments, one a line.
QStringList recorded()
{
    QStringList lines = QString::fromUtf8(fileBytes(QStringLiteral("record.txt"))).split(u'\n');
    return lines.mid(1, lines.size() - 2); // the whole command line first, nothing after the last
}
#else
// Records its name and arguments.
const QByteArray recorder = "#!/bin/sh\nprintf '%s\\0' \"${0##*/}\" \"$@\" >> \"$RECORD\"\n";
// Any of these running means a value escaped its quoting.
const QByteArray intruder = "#!/bin/sh\necho \"$0\" >> \"$INTRUDERS\"\n";
// A client records the same, then stays open for a while.
const QByteArray client = recorder + "exec sleep 5 >/dev/null 2>&1\n";

QByteArrayList recorded()
{
    QByteArrayList arguments = fileBytes(QStringLiteral("record")).split('\0');
    arguments.removeLast(); // after the last terminator
    return arguments;
}
#endif

} // namespace

// The command lines: each credential escaped for cmd.exe as it will read it; then through the
// real system(), /bin/sh and the start helper of the Centinela in CENTINELA_BIN_DIR to programs
// that record what reaches them: one literal argument per value, and nothing else run.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void cmdArgument_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("argument");
        for (const auto &[name, value, argument] : cmdRows)
            QTest::newRow(name) << QString::fromUtf16(value) << QString::fromUtf16(argument);
    }

    void cmdArgument()
    {
        QFETCH(QString, value);
        QFETCH(QString, argument);
        Platform::CommandProcessor cmd = Platform::windowsCmd();
        // Like Windows-1252 with best fit, turns the full-width forms into their ASCII look-alikes.
        cmd.throughCodePage
            = [](const QString &value) { return value.normalized(QString::NormalizationForm_KC); };
        QCOMPARE(CommandLine::argumentValue(value, cmd), argument);
    }

#ifdef Q_OS_WIN
    // Qt's own conversion into the ANSI code page, 1252 with best fit, makes a full-width
    // ampersand a plain one: it is escaped as cmd will read it.
    void cmdArgumentInThisCodePage()
    {
        QCOMPARE(CommandLine::argumentValue(QStringLiteral("＆calc"), Platform::windowsCmd()),
                 QStringLiteral("^&calc"));
    }

    // Through system() and cmd.exe to app.exe here and, under Wine, to the prefix's http
    // handler; calc.exe and pwned.exe are decoys that leave a mark when run.
    void initTestCase()
    {
        for (const char *name : {"app.exe", "calc.exe", "pwned.exe"})
            QVERIFY(QFile::copy(QStringLiteral(CENTINELA_PROBE), work.filePath(name)));
        QVERIFY(QDir::setCurrent(work.path()));
        qputenv("CENTINELA_AMP", "x&pwned");
        if (underWine()) {
            QSettings http(QStringLiteral("HKEY_CLASSES_ROOT\\http\\shell\\open"),
                           QSettings::NativeFormat);
            http.setValue(QStringLiteral("command/."),
                          u'"' + QDir::toNativeSeparators(work.filePath("app.exe")) + "\" \"%1\"");
        }
    }

    void commandReachesItsProgram_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("arriving");
        if (underWine())
            QTest::newRow("HTML5") << CommandLine::html5Client(host, 9083)
                                   << QStringList {"http://scada.example:9083"};
        for (const auto &[name, value] : cmdValues) {
            // As the code page carries it; a line carries no control characters.
            const QString carried = QString::fromLocal8Bit(
                CommandLine::withoutControlCharacters(value).toLocal8Bit());
            QTest::newRow(name) << CommandLine::javaClient(host, 9083, value, value,
                                                           Platform::windowsCmd())
                                << QStringList {"multipleinstance", "scada.example:9083",
                                                "user:" + carried, "password:" + carried};
        }
    }

    void commandReachesItsProgram()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, arriving);
        qputenv("CENTINELA_CASE", QTest::currentDataTag());

        // Wine's start rebuilds the line where Windows' passes it on as it is: the Java line
        // goes straight to app too.
        QStringList lines {command};
        if (command.startsWith(QStringLiteral("start app ")))
            lines << command.mid(QStringLiteral("start ").size());
        for (const QString &line : lines) {
            QFile::remove(QStringLiteral("record.txt"));
            Platform::systemCommand(line.toLocal8Bit());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("record.txt")), 20000);
            QCOMPARE(recorded(), arriving);
        }
        const QStringList marks = QDir().entryList(
            {QStringLiteral("ran * in case ") + QLatin1String(QTest::currentDataTag())});
        QVERIFY2(marks.isEmpty(), qPrintable(marks.join(u' ')));
    }

private:
    QTemporaryDir work; // the current folder
#else
    void initTestCase()
    {
        const QString centinelaFolder = qEnvironmentVariable("CENTINELA_BIN_DIR");
        QVERIFY(QFileInfo(Platform::startHelperFolder(centinelaFolder) + "/start").isExecutable());
        Platform::provideStartCommand(centinelaFolder);
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + qgetenv("PATH"));
        qputenv("RECORD", QFile::encodeName(work.filePath("record")));
        qputenv("INTRUDERS", QFile::encodeName(bin.filePath("intruders")));
        QVERIFY(QDir::setCurrent(work.path()));
        QVERIFY(writeScript(work.filePath("app"), client));
        QVERIFY(writeScript(bin.filePath("xdg-open"), client));
        for (const char *name : {"ss", "b", "id", "x", "calc", "pwned", "aid"})
            QVERIFY(writeScript(bin.filePath(name), intruder));
    }

    void commandReachesItsProgram_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("userHasOwnStart");
        QTest::addColumn<QByteArrayList>("arriving");

        const QString host = QStringLiteral("scada.example");
        QTest::newRow("HTML5") << CommandLine::html5Client(host, 9083) << false
                               << QByteArrayList {"xdg-open", "http://scada.example:9083"};
        // clang-format off
        const std::tuple<const char *, const char *, const char *> rows[] = {
            {"user's own start", "operador", "secreto1"},
            {"ordinary", "operador", "secreto1"},
            {"empty", "", ""},
            {"ampersands, semicolons, redirection", "p&ss;b>out.txt", "x&calc;pwned|pwned"},
            {"substitutions", "$(id)`x`", "$(pwned)`pwned`"},
            {"quotes and blanks", "it's Juan Pérez", "a \"b\" c'"},
            {"tab and non-ASCII letters", "Íñigo\tx", "contraseña\t"},
            {"line feed left out", "a\nid", "a\npwned"},
        };
        // clang-format on
        for (const auto &[name, user, password] : rows) {
            const bool ownStart = QByteArray(name) == "user's own start";
            QByteArrayList arriving = {"app", "multipleinstance", "scada.example:9083",
                                       "user:" + QByteArray(user).replace('\n', ""),
                                       "password:" + QByteArray(password).replace('\n', "")};
            if (ownStart)
                arriving.prepend("start");
            QTest::newRow(name) << CommandLine::javaClient(host, 9083, QString::fromUtf8(user),
                                                           QString::fromUtf8(password),
                                                           Platform::posixShell())
                                << ownStart << arriving;
        }
    }

    void commandReachesItsProgram()
    {
        QFETCH(QString, command);
        QFETCH(bool, userHasOwnStart);
        QFETCH(QByteArrayList, arriving);
        QFile::remove(work.filePath("record"));
        QFile::remove(bin.filePath("start"));
        if (userHasOwnStart)
            QVERIFY(writeScript(bin.filePath("start"), recorder));

        QElapsedTimer handOver;
        handOver.start();
        QCOMPARE(Platform::systemCommand(command.toLocal8Bit()), 0);
        QVERIFY2(handOver.elapsed() < 2500, "start waited for the client");
        QTRY_COMPARE(recorded(), arriving);
        QVERIFY2(!QFile::exists(bin.filePath("intruders")), "a second command ran");
        QVERIFY(!QFile::exists(work.filePath("out.txt")));
    }

    void unknownProgramFailsAndRunsNothing()
    {
        QFile::remove(work.filePath("record"));
        QVERIFY(Platform::systemCommand("start centinela-no-such-program x 2>errors") != 0);
        const QByteArray message = fileBytes(work.filePath("errors"));
        QVERIFY2(message.startsWith("start: centinela-no-such-program") && message.count('\n') == 1,
                 message.constData());
        QVERIFY(!QFile::exists(work.filePath("record")));
    }

private:
    QTemporaryDir bin; // first on PATH
    QTemporaryDir work; // the current folder
#endif
};

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
