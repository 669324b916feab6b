#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

namespace {

// A value and its argument for cmd when the code page makes full-width forms ASCII; without an
// argument, a value only of the Windows suite, where every one goes through the real cmd.exe.
// clang-format off
const std::tuple<const char *, const char16_t *, const char16_t *> cmdRows[] = {
    {"ordinary values unchanged", u"José1ΕλένηÑñ€山田.-_@+=,:/#$~*?[]{}';a\\b\\", u"José1ΕλένηÑñ€山田.-_@+=,:/#$~*?[]{}';a\\b\\"},
    {"every caret special, carets inside and trailing", u"^&|<>()!a^b^", u"^^^&^|^<^>^(^)^!a^^b^^"},
    {"variable and percent", u"%CENTINELA_AMP%50%", u"%%cd:~,%CENTINELA_AMP%%cd:~,%50%%cd:~,%"},
    {"substring, substitution, the percent escape", u"%CENTINELA_AMP:~0,7%%CENTINELA_AMP:x=y%%%cd:~,%", nullptr},
    {"blanks, a tab and trailing backslashes", u"  a\tb c\\\\", u"^\"  a\tb c\\\\\\\\^\""},
    {"backslashes before a quote", u"a\\\\\"&calc", u"^\"a\\\\\\\\\\^\"^&calc^\""},
    {"quotes that would open cmd's quoted mode", u"\"&calc\" &pwned& \"b", u"^\"\\^\"^&calc\\^\" ^&pwned^& \\^\"b^\""},
    {"control characters left out", u"a\nb\r\x01&calc\x7f", u"ab^&calc"},
    {"full-width ampersand, caret, bar and redirections", u"＆calc＾&x｜pwned＞out.txt＜in.txt", u"^&calc^^^&x^|pwned^>out.txt^<in.txt"},
    {"full-width quotes and percent signs", u"＂a &calc＂％CENTINELA_AMP％", u"^\"\\^\"a ^&calc\\^\"%%cd:~,%CENTINELA_AMP%%cd:~,%^\""},
};
// clang-format on

// What the recording program wrote, one line each.
QStringList recorded()
{
    QStringList lines = QString::fromUtf8(fileBytes(QStringLiteral("record.txt"))).split(u'\n');
    lines.removeLast(); // after the end of the last line
    return lines;
}

#ifndef Q_OS_WIN
// A client records the path it ran from and its arguments, then stays open for a while.
const QByteArray client = "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" >> record.txt\n"
                          "exec /bin/sleep 5 >/dev/null 2>&1\n";

// The warnings of a failed launch. The lookup's names the folders searched, the helper's not.
const char *const lookup
    = "No se ha podido abrir el cliente JAVA: no se encuentra el programa \"app\".\n\nAñada un "
      "acceso directo del cliente Java llamado \"app\" en una de estas carpetas, que se buscan en "
      "este orden:\n- la carpeta actual: %1\n- la carpeta de la aplicación \"Centinela\": %2\n- "
      "las carpetas del PATH: %3";
const char *const noOpener = "No se ha podido abrir el cliente HTML 5: no hay instalado ningún "
                             "programa que abra el navegador de internet (xdg-open). Instale el "
                             "paquete xdg-utils.";
const char *const failed = "No se ha podido abrir el cliente.";

// Answers every message box that the window shows, one after another, recording each text.
void answerMessages(QWidget *window, QStringList *texts)
{
    whenVisible<QMessageBox>(window, [window, texts](QMessageBox *box) {
        const bool ours = box->windowTitle() == "Centinela" && box->icon() == QMessageBox::Warning;
        *texts << (ours ? "" : "not a warning titled Centinela: ") + box->text();
        box->close();
        answerMessages(window, texts);
    });
}
#endif

} // namespace

// Each credential escaped for cmd.exe; then launches through the real command processor to
// recording programs: one literal argument per value, nothing else run, one fit warning.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void cmdArgument_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("argument");
        for (const auto &[name, value, argument] : cmdRows)
            if (argument)
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
            QTest::newRow("HTML5") << CommandLine::html5Client("scada.example", 9083)
                                   << QStringList {"http://scada.example:9083"};
        // Each value goes in as both the user name and the password.
        for (const auto &[name, text, argument] : cmdRows) {
            const QString value = QString::fromUtf16(text);
            // As the code page carries it; a line carries no control characters.
            const QString carried = QString::fromLocal8Bit(
                CommandLine::withoutControlCharacters(value).toLocal8Bit());
            QTest::newRow(name) << CommandLine::javaClient("scada.example", 9083, value, value,
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
            QCOMPARE(recorded().mid(1), arriving); // after the whole command line
        }
        const QStringList marks = QDir().entryList(
            {QStringLiteral("ran * in case ") + QLatin1String(QTest::currentDataTag())});
        QVERIFY2(marks.isEmpty(), qPrintable(marks.join(u' ')));
    }
#else
    void initTestCase()
    {
        // Centinela's folder as installed, with the helper of the Centinela under test.
        const QString helper
            = Platform::startHelperFolder(qEnvironmentVariable("CENTINELA_BIN_DIR")) + "/start";
        QVERIFY(QFileInfo(helper).isExecutable());
        QVERIFY(QDir().mkpath(programFolder) && QDir().mkpath(helperFolder));
        QVERIFY(QFile::link(helper, helperFolder + "/start"));
        // Only the suite's own programs are found; the program adds its helper at the end.
        qputenv("PATH", QFile::encodeName(bin.path()));
        Platform::provideStartCommand(programFolder);
        QVERIFY(QDir::setCurrent(work.path()));
        // Any of these running means a value escaped its quoting.
        for (const char *name : {"ss", "b", "id", "x", "calc", "pwned"})
            QVERIFY(writeScript(bin.filePath(name), "#!/bin/sh\necho \"$0\" >> intruders\n"));
        QVERIFY(store.createFolder());
    }

    void helperComesLastOnPath()
    {
        const QByteArray userPath = qgetenv("PATH");
        QByteArrayList extended;
        for (const char *path : {"/usr/bin:/bin", "", "unset"}) {
            path == QByteArray("unset") ? qunsetenv("PATH") : qputenv("PATH", path);
            Platform::provideStartCommand(programFolder);
            extended << qgetenv("PATH");
        }
        qputenv("PATH", userPath);
        // An empty entry would stand for the current folder; unset, the system's default stays.
        const QByteArray helper = QFile::encodeName(helperFolder);
        QCOMPARE(extended,
                 QByteArrayList({"/usr/bin:/bin:" + helper, helper, "/bin:/usr/bin:" + helper}));
    }

    void launch_data()
    {
        QTest::addColumn<bool>("html5");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        // Where "app" (or "xdg-open") is; the first of them is the one that must run.
        QTest::addColumn<QString>("placed");
        QTest::addColumn<int>("userStart"); // its exit status; -1: the user has no start
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("current folder before Centinela's") << false << "operador" << "" << "current program" << -1 << "";
        QTest::newRow("current folder before PATH") << false << "x;pwned" << "$HOME" << "current path" << -1 << "";
        QTest::newRow("Centinela's folder before PATH") << false << "p&ss;b>out.txt" << "$(id)`x`|pwned" << "program path" << -1 << "";
        QTest::newRow("one in the current folder that cannot run") << false << "it's Juan\tPérez" << "a \"b\"\nid" << "path unrunnable" << -1 << "";
        QTest::newRow("app nowhere") << false << "" << "" << "" << -1 << QString(lookup).arg(work.path(), programFolder, bin.path());
        QTest::newRow("xdg-open there") << true << "" << "" << "path" << -1 << "";
        QTest::newRow("xdg-open missing") << true << "" << "" << "" << -1 << noOpener;
        QTest::newRow("user's start ends as if app were missing") << false << "" << "" << "" << 3 << failed;
        QTest::newRow("user's start ends as if xdg-open were missing") << true << "" << "" << "" << 4 << failed;
        // clang-format on
    }

    void launch()
    {
        QFETCH(bool, html5);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, placed);
        QFETCH(int, userStart);
        QFETCH(QString, message);
        const QStringList places = placed.split(u' ', Qt::SkipEmptyParts);
        const QString program = html5 ? "xdg-open" : "app";
        for (const QString &place : places)
            QVERIFY(place == "unrunnable" ? putFile(program, client)
                                          : writeScript(folderOf(place) + '/' + program, client));
        if (userStart >= 0)
            QVERIFY(writeScript(bin.filePath("start"),
                                "#!/bin/sh\nexit " + QByteArray::number(userStart) + '\n'));
        QVERIFY(store.save(user, password));

        MainWindow window;
        window.findChild<QRadioButton *>(html5 ? "radioButtonHTML5" : "radioButtonJAVA")->click();
        QStringList texts;
        answerMessages(&window, &texts);
        const QDeadlineTimer handOver(2500);
        window.findChild<QAction *>("actionQu_mica")->trigger();
        QVERIFY2(!handOver.hasExpired(), "start waited for the client");

        const QString address = CENTINELA_SCADA_HOST ":9083";
        QStringList ran = {folderOf(places.value(0)) + '/' + program, "multipleinstance", address,
                           "user:" + user.remove(u'\n'), "password:" + password.remove(u'\n')};
        if (html5)
            ran = {ran.first(), "http://" + address};
        QTRY_COMPARE(recorded(), places.isEmpty() ? QStringList() : ran);
        QVERIFY2(!QFile::exists("intruders") && !QFile::exists("out.txt"), "a second command ran");

        QCOMPARE(texts, message.isEmpty() ? QStringList() : QStringList {message});
    }

    void cleanup()
    {
        for (const char *place : {"current", "program", "path"})
            for (const char *file : {"/record.txt", "/intruders", "/start", "/app", "/xdg-open"})
                QFile::remove(folderOf(place) + file);
    }

private:
    QString folderOf(const QString &place) const
    {
        return place == "current" ? "." : place == "program" ? programFolder : bin.path();
    }

    TestHome home; // for the main window's credential files
    const CredentialStore store {Platform::dataFolder()};
    QTemporaryDir bin; // first on PATH
    QTemporaryDir program; // Centinela's folder (bin/) and its helper's
    const QString programFolder = program.filePath("bin");
    const QString helperFolder = Platform::startHelperFolder(programFolder);
#endif
private:
    QTemporaryDir work; // the current folder
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
