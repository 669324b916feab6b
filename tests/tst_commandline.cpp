#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

namespace {

// clang-format off
const std::tuple<const char *, const char16_t *, const char16_t *> cmdRows[] = {
    {"empty", u"", u""},
    {"ordinary values unchanged", u"José1ΕλένηÑ山田.-_@+=,:/#$~*?[]{}';a\\b\\", u"José1ΕλένηÑ山田.-_@+=,:/#$~*?[]{}';a\\b\\"},
    {"every caret special", u"^&|<>()!", u"^^^&^|^<^>^(^)^!"},
    {"variable and percent", u"%PATH%50%", u"%%cd:~,%PATH%%cd:~,%50%%cd:~,%"},
    {"tab kept and quoted", u"a\tb", u"^\"a\tb^\""},
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
// Records how it was started (the path it ran from) and its arguments.
const QByteArray recorder = "#!/bin/sh\nprintf '%s\\0' \"$0\" \"$@\" >> \"$RECORD\"\n";
// Any of these running means a value escaped its quoting.
const QByteArray intruder = "#!/bin/sh\necho \"$0\" >> \"$INTRUDERS\"\n";
// A client records the same, then stays open for a while.
const QByteArray client = recorder + "exec /bin/sleep 5 >/dev/null 2>&1\n";

QByteArrayList recorded()
{
    QByteArrayList arguments = fileBytes(QStringLiteral("record")).split('\0');
    arguments.removeLast(); // after the last terminator
    return arguments;
}

// The warnings of a failed launch; the one that names the folders searched is checked apart.
const char *const lookup = "the folders searched for app";
const char *const noOpener = "No se ha podido abrir el cliente HTML 5: no hay instalado ningún "
                             "programa que abra el navegador de internet (xdg-open). Instale el "
                             "paquete xdg-utils.";
const char *const failed = "No se ha podido abrir el cliente.";

// Answers every message box that the window shows, one after another, recording each text.
void answerMessages(QWidget *window, QStringList *texts)
{
    whenVisible<QMessageBox>(window, [window, texts](QMessageBox *box) {
        const bool warning
            = box->windowTitle() == "Centinela" && box->icon() == QMessageBox::Warning;
        *texts << (warning ? box->text() : "not a warning titled Centinela: " + box->text());
        box->close();
        answerMessages(window, texts);
    });
}
#endif

} // namespace

// Each credential escaped for cmd.exe; then launches from the main window through the real
// system(), /bin/sh and the start helper of CENTINELA_BIN_DIR to recording programs: one literal
// argument per value, nothing else run, "app" found first where it should be, one fit warning.
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
        // Centinela's folder as installed, with the helper of the Centinela under test.
        const QString helper
            = Platform::startHelperFolder(qEnvironmentVariable("CENTINELA_BIN_DIR")) + "/start";
        QVERIFY(QFileInfo(helper).isExecutable());
        QVERIFY(QDir().mkpath(programFolder()) && QDir().mkpath(helperFolder()));
        QVERIFY(QFile::link(helper, helperFolder() + "/start"));
        // The user's PATH, which the program extends at its end.
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + qgetenv("PATH"));
        Platform::provideStartCommand(programFolder());
        qputenv("RECORD", QFile::encodeName(work.filePath("record")));
        qputenv("INTRUDERS", QFile::encodeName(bin.filePath("intruders")));
        QVERIFY(QDir::setCurrent(work.path()));
        for (const char *name : {"ss", "b", "id", "x", "calc", "pwned", "aid"})
            QVERIFY(writeScript(bin.filePath(name), intruder));
        QVERIFY(store.createFolder());
    }

    void helperComesLastOnPath()
    {
        const QByteArray userPath = qgetenv("PATH");
        QByteArrayList extended;
        for (const char *path : {"/usr/bin:/bin", "", "unset"}) {
            path == QByteArray("unset") ? qunsetenv("PATH") : qputenv("PATH", path);
            Platform::provideStartCommand(programFolder());
            extended << qgetenv("PATH");
        }
        qputenv("PATH", userPath);
        // An empty entry would stand for the current folder; unset, the system's default stays.
        const QByteArray helper = QFile::encodeName(helperFolder());
        QCOMPARE(extended,
                 QByteArrayList({"/usr/bin:/bin:" + helper, helper, "/bin:/usr/bin:" + helper}));
    }

    void launch_data()
    {
        QTest::addColumn<bool>("html5");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("placed"); // where "app" (or "xdg-open") is
        QTest::addColumn<int>("userStart"); // its exit status; -1: the user has no start
        QTest::addColumn<QString>("ranFrom"); // which of them ran; empty: none
        QTest::addColumn<QString>("message");
        // clang-format off
        const std::tuple<const char *, const char *, const char *> values[] = {
            {"ordinary", "operador", "secreto1"},
            {"empty", "", ""},
            {"semicolon alone", "x;pwned", "x;id"},
            {"dollar alone", "$HOME", "a$PWD"},
            {"ampersands, semicolons, redirection", "p&ss;b>out.txt", "x&calc;pwned|pwned"},
            {"substitutions", "$(id)`x`", "$(pwned)`pwned`"},
            {"quotes and blanks", "it's Juan Pérez", "a \"b\" c'"},
            {"tab and non-ASCII letters", "Íñigo\tx", "contraseña\t"},
            {"line feed left out", "a\nid", "a\npwned"},
        };
        for (const auto &[name, user, password] : values)
            QTest::newRow(name) << false << QString(user) << QString(password)
                                << QStringList {"current"} << -1 << "current" << "";
        using Row = std::tuple<const char *, bool, const char *, int, const char *, const char *>;
        const Row rows[] = {
            {"app only in Centinela's folder", false, "program", -1, "program", ""},
            {"app only on PATH", false, "path", -1, "path", ""},
            {"current folder before Centinela's", false, "current program", -1, "current", ""},
            {"current folder before PATH", false, "path current", -1, "current", ""},
            {"Centinela's folder before PATH", false, "path program", -1, "program", ""},
            {"one in the current folder that cannot run", false, "path unrunnable", -1, "path", ""},
            {"app nowhere", false, "", -1, "", lookup},
            {"xdg-open there", true, "path", -1, "path", ""},
            {"xdg-open missing", true, "", -1, "", noOpener},
            {"user's start wins", false, "current", 0, "start", ""},
            {"user's start fails", false, "current", 1, "start", failed},
            {"user's start ends as if app were missing", false, "", 3, "start", failed},
            {"user's start ends as if xdg-open were missing", true, "", 4, "start", failed},
        };
        for (const auto &[name, html5, placed, userStart, ranFrom, message] : rows)
            QTest::newRow(name) << html5 << QString() << QString()
                                << QString(placed).split(' ', Qt::SkipEmptyParts) << userStart
                                << QString(ranFrom) << QString(message);
        // clang-format on
    }

    void launch()
    {
        QFETCH(bool, html5);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QStringList, placed);
        QFETCH(int, userStart);
        QFETCH(QString, ranFrom);
        QFETCH(QString, message);
        const QString program = html5 ? "xdg-open" : "app";
        for (const QString &place : placed)
            QVERIFY(place == "unrunnable" ? putFile(work.filePath(program), client)
                                          : writeScript(folderOf(place) + '/' + program, client));
        if (userStart >= 0)
            QVERIFY(writeScript(bin.filePath("start"),
                                recorder + "exit " + QByteArray::number(userStart) + '\n'));
        QVERIFY(store.save(user, password));
        const QByteArray userPath = qgetenv("PATH");
        if (html5) // so that no browser opener of this machine's runs
            qputenv("PATH", QFile::encodeName(bin.path() + ':' + helperFolder()));

        MainWindow window;
        window.findChild<QRadioButton *>(html5 ? "radioButtonHTML5" : "radioButtonJAVA")->click();
        QStringList texts;
        answerMessages(&window, &texts);
        QElapsedTimer handOver;
        handOver.start();
        window.findChild<QAction *>("actionQu_mica")->trigger();
        qputenv("PATH", userPath);
        QVERIFY2(handOver.elapsed() < 2500, "start waited for the client");

        const QByteArray address = CENTINELA_SCADA_HOST ":9083";
        QByteArrayList arriving
            = {"multipleinstance", address, "user:" + user.toUtf8().replace('\n', ""),
               "password:" + password.toUtf8().replace('\n', "")};
        if (html5)
            arriving = {"http://" + address};
        if (ranFrom == "start" && !html5)
            arriving.prepend("app");
        const QString ranAs = ranFrom == "current" ? "./" + program
            : ranFrom == "start"                   ? bin.filePath("start")
                                                   : folderOf(ranFrom) + '/' + program;
        if (ranFrom.isEmpty())
            QVERIFY(!QFile::exists(work.filePath("record")));
        else
            QTRY_COMPARE(recorded(), QByteArrayList {QFile::encodeName(ranAs)} + arriving);
        QVERIFY2(!QFile::exists(bin.filePath("intruders")) && !QFile::exists("out.txt"),
                 "a second command ran");

        QCOMPARE(texts.size(), message.isEmpty() ? 0 : 1);
        if (message != lookup) {
            QCOMPARE(texts.value(0), message);
            return;
        }
        // The real folders, in the order of the lookup.
        QStringList folders = {work.path(), programFolder()};
        folders << QString::fromLocal8Bit(userPath).split(':', Qt::SkipEmptyParts);
        folders.removeAll(helperFolder());
        for (QString &folder : folders)
            folder = QRegularExpression::escape(folder);
        const QRegularExpression named("\"app\".*" + folders.join(".*"),
                                       QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(named.match(texts.value(0)).hasMatch(), qPrintable(texts.value(0)));
    }

    void cleanup()
    {
        QFile::remove(work.filePath("record"));
        QFile::remove(bin.filePath("start"));
        for (const char *place : {"current", "program", "path"})
            for (const char *program : {"/app", "/xdg-open"})
                QFile::remove(folderOf(place) + program);
    }

private:
    QString programFolder() const { return program.filePath("bin"); }
    QString helperFolder() const { return Platform::startHelperFolder(programFolder()); }
    QString folderOf(const QString &place) const
    {
        return place == "current" ? work.path() : place == "program" ? programFolder() : bin.path();
    }

    TestHome home; // for the main window's credential files
    const CredentialStore store {Platform::dataFolder()};
    QTemporaryDir bin; // first on PATH
    QTemporaryDir work; // the current folder
    QTemporaryDir program; // Centinela's folder (bin/) and its helper's
#endif
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
