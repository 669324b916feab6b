#include "commandline.h"
#include "config.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QRadioButton>
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
    {"full-width quotes round a blank", u"＂a b＂", u"^\"\\^\"a b\\^\"^\""},
};
// clang-format on

// Records how it was started (the path it ran from) and its arguments.
const QByteArray recorder = "#!/bin/sh\nprintf '%s\\0' \"$0\" \"$@\" >> \"$RECORD\"\n";
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

} // namespace

// The command lines: each credential escaped for cmd.exe as it will read it; then through the
// real system(), /bin/sh and the start helper of the Centinela in CENTINELA_BIN_DIR to programs
// that record what reaches them: one literal argument per value, and nothing else run. Last,
// launches from the main window: where the helper finds "app", and what a failure says.
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
        QVERIFY(writeScript(bin.filePath("xdg-open"), client));
        for (const char *name : {"ss", "b", "id", "x", "calc", "pwned", "aid"})
            QVERIFY(writeScript(bin.filePath(name), intruder));
    }

    void init()
    {
        QFile::remove(work.filePath("record"));
        QFile::remove(bin.filePath("start"));
        for (const char *place : {"current", "program", "path"})
            QFile::remove(folderOf(place) + "/app");
    }

    void helperComesLastOnPath_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("extended");
        const QByteArray helper = QFile::encodeName(helperFolder());
        QTest::newRow("ordinary") << QByteArray("/usr/bin:/bin") << "/usr/bin:/bin:" + helper;
        QTest::newRow("empty: no empty entry, which means the current folder")
            << QByteArray() << helper;
    }

    void helperComesLastOnPath()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, extended);
        const QByteArray userPath = qgetenv("PATH");
        qputenv("PATH", path);
        Platform::provideStartCommand(programFolder());
        QCOMPARE(qgetenv("PATH"), extended);
        qputenv("PATH", userPath);
    }

    void commandReachesItsProgram_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("userHasOwnStart");
        QTest::addColumn<QByteArrayList>("arriving");

        const QString host = QStringLiteral("scada.example");
        QTest::newRow("HTML5") << CommandLine::html5Client(host, 9083) << false
                               << QByteArrayList {QFile::encodeName(bin.filePath("xdg-open")),
                                                  "http://scada.example:9083"};
        // clang-format off
        const std::tuple<const char *, const char *, const char *> rows[] = {
            {"user's own start", "operador", "secreto1"},
            {"ordinary", "operador", "secreto1"},
            {"empty", "", ""},
            {"semicolon alone", "x;pwned", "x;id"},
            {"ampersands, semicolons, redirection", "p&ss;b>out.txt", "x&calc;pwned|pwned"},
            {"substitutions", "$(id)`x`", "$(pwned)`pwned`"},
            {"quotes and blanks", "it's Juan Pérez", "a \"b\" c'"},
            {"tab and non-ASCII letters", "Íñigo\tx", "contraseña\t"},
            {"line feed left out", "a\nid", "a\npwned"},
        };
        // clang-format on
        for (const auto &[name, user, password] : rows) {
            const bool ownStart = QByteArray(name) == "user's own start";
            QByteArrayList arriving = {"./app", "multipleinstance", "scada.example:9083",
                                       "user:" + QByteArray(user).replace('\n', ""),
                                       "password:" + QByteArray(password).replace('\n', "")};
            if (ownStart) { // which records itself and all its arguments
                arriving[0] = "app";
                arriving.prepend(QFile::encodeName(bin.filePath("start")));
            }
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
        QVERIFY(writeScript(work.filePath("app"), client));
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

    void launchFromMainWindow_data()
    {
        QTest::addColumn<bool>("html5");
        QTest::addColumn<QStringList>("appPlaces");
        QTest::addColumn<int>("userStartStatus"); // -1: the user has no start of their own
        QTest::addColumn<bool>("pathWithHelperAlone");
        QTest::addColumn<QString>("startedFrom"); // where the client ran from, if it did
        QTest::addColumn<QString>("message");
        // clang-format off
        const std::tuple<const char *, bool, const char *, int, bool, const char *, const char *> rows[] = {
            {"app in the current folder", false, "current", -1, false, "current", ""},
            {"app only in Centinela's folder", false, "program", -1, false, "program", ""},
            {"app only on PATH", false, "path", -1, false, "path", ""},
            {"current folder before Centinela's", false, "current program", -1, false, "current", ""},
            {"current folder before PATH", false, "path current", -1, false, "current", ""},
            {"Centinela's folder before PATH", false, "path program", -1, false, "program", ""},
            {"app nowhere", false, "", -1, false, "", "lookup"},
            {"xdg-open there", true, "", -1, false, "path", ""},
            {"xdg-open missing", true, "", -1, true, "", "opener"},
            {"user's start fails", false, "current", 1, false, "", "generic"},
            {"user's start ends as if app were missing", false, "", 3, false, "", "generic"},
            {"user's start ends as if xdg-open were missing", true, "", 4, false, "", "generic"},
        };
        // clang-format on
        for (const auto &[name, html5, places, userStart, alone, from, message] : rows)
            QTest::newRow(name) << html5 << QString(places).split(' ', Qt::SkipEmptyParts)
                                << userStart << alone << QString(from) << QString(message);
    }

    void launchFromMainWindow()
    {
        QFETCH(bool, html5);
        QFETCH(QStringList, appPlaces);
        QFETCH(int, userStartStatus);
        QFETCH(bool, pathWithHelperAlone);
        QFETCH(QString, startedFrom);
        QFETCH(QString, message);
        for (const QString &place : appPlaces)
            QVERIFY(writeScript(folderOf(place) + "/app", recorder));
        if (userStartStatus >= 0)
            QVERIFY(writeScript(bin.filePath("start"),
                                "#!/bin/sh\nexit " + QByteArray::number(userStartStatus) + '\n'));
        const QByteArray userPath = qgetenv("PATH");
        if (pathWithHelperAlone)
            qputenv("PATH", QFile::encodeName(helperFolder()));

        MainWindow window;
        window.findChild<QRadioButton *>(html5 ? "radioButtonHTML5" : "radioButtonJAVA")->click();
        QStringList texts;
        answerMessages(&window, &texts);
        window.findChild<QAction *>("actionQu_mica")->trigger();
        qputenv("PATH", userPath);

        const QString program = html5 ? "xdg-open" : "app";
        const QString ranAs
            = startedFrom == "current" ? "./" + program : folderOf(startedFrom) + '/' + program;
        const QByteArray address = CENTINELA_SCADA_HOST ":9083";
        const QByteArrayList arguments = html5
            ? QByteArrayList {"http://" + address}
            : QByteArrayList {"multipleinstance", address, "user:", "password:"};
        if (startedFrom.isEmpty())
            QVERIFY(!QFile::exists(work.filePath("record")));
        else
            QTRY_COMPARE(recorded(), QByteArrayList {QFile::encodeName(ranAs)} + arguments);
        QCOMPARE(texts.size(), message.isEmpty() ? 0 : 1);
        if (message == "lookup") {
            // The real folders, in the order of the lookup.
            QStringList mentions = {"\"app\"", work.path(), programFolder()};
            mentions << QString::fromLocal8Bit(userPath).split(':', Qt::SkipEmptyParts);
            mentions.removeAll(helperFolder());
            qsizetype at = 0;
            for (const QString &mention : std::as_const(mentions)) {
                at = texts.value(0).indexOf(mention, at);
                QVERIFY2(at >= 0,
                         qPrintable(mention + " missing or out of order: " + texts.value(0)));
            }
        } else if (message == "opener") {
            QCOMPARE(texts.value(0),
                     "No se ha podido abrir el cliente HTML 5: no hay instalado "
                     "ningún programa que abra el navegador de internet "
                     "(xdg-open). Instale el paquete xdg-utils.");
        } else if (message == "generic") {
            QCOMPARE(texts.value(0), "No se ha podido abrir el cliente.");
        }
    }

private:
    QString programFolder() const { return program.filePath("bin"); }
    QString helperFolder() const { return Platform::startHelperFolder(programFolder()); }
    QString folderOf(const QString &place) const
    {
        return place == "current" ? work.path() : place == "program" ? programFolder() : bin.path();
    }

    TestHome home; // for the main window's credential files
    QTemporaryDir bin; // first on PATH
    QTemporaryDir work; // the current folder
    QTemporaryDir program; // Centinela's folder (bin/) and its helper's
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
