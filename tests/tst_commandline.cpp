#include "arguments.h"
#include "commandline.h"
#include "config.h"
#include "dialogs/credentialstore.h"
#include "dialogs/dialogaccesodirecto.h"
#include "mainwindow.h"
#include "support.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
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

    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("console"); // whether there is one to write to
        QTest::addColumn<QString>("user"); // stored
        QTest::addColumn<int>("status"); // -1: the window starts as usual
        QTest::addColumn<QStringList>("said"); // the beginning of each text, and where it went
        QTest::addColumn<QByteArrayList>("commands");
        const auto java = [](const char *port) {
            return "start app multipleinstance " CENTINELA_SCADA_HOST ":" + QByteArray(port)
                + " user:operador password:";
        };
        const auto html5 = [](const char *port) {
            return "start http://" CENTINELA_SCADA_HOST ":" + QByteArray(port);
        };
        const QString noUser
            = "No se ha podido abrir el cliente JAVA: no hay ningún usuario guardado.";
        const QString help = "\n«Centinela --ayuda» explica las opciones.";
        // clang-format off
        QTest::newRow("none") << QStringList() << true << "operador" << -1 << QStringList() << QByteArrayList();
        QTest::newRow("Qt's own alone") << QStringList {"-style", "fusion", "-reverse"} << true << "operador" << -1 << QStringList() << QByteArrayList();
        QTest::newRow("case and accents") << QStringList {"--abrir", "QUIMICA"} << true << "operador" << 0 << QStringList() << QByteArrayList {java("9083")};
        QTest::newRow("a beginning only one has, HTML 5") << QStringList {"--abrir", " quím", "--cliente", "HTML5"} << true << "" << 0 << QStringList() << QByteArrayList {html5("9083")};
        QTest::newRow("several, in the order given, once each") << QStringList {"--abrir", "física", "-style=fusion", "--abrir=quím", "--abrir", "FISICA", "--cliente", "html5"} << true << "" << 0 << QStringList() << QByteArrayList {html5("9085"), html5("9083")};
        QTest::newRow("one wrong name among good ones opens none") << QStringList {"--abrir", "química", "--abrir", "arq", "--abrir", "física", "--abrir", "quimca"} << true << "operador" << 2 << QStringList {"err «arq» es el comienzo de varios nombres: Arquitectura Técnica, Arquitectura Superior.\nNingún edificio ni aplicación se llama «quimca». Los más parecidos: Química.\n«Centinela --lista» los muestra todos."} << QByteArrayList();
        QTest::newRow("nothing like it") << QStringList {"--abrir", "xyz"} << true << "operador" << 2 << QStringList {"err Ningún edificio ni aplicación se llama «xyz».\n"} << QByteArrayList();
        QTest::newRow("no such client") << QStringList {"--abrir", "química", "--cliente", "web"} << true << "operador" << 2 << QStringList {"err No existe el cliente «web»: elija java o html5." + help} << QByteArrayList();
        QTest::newRow("no client named") << QStringList {"--abrir", "química", "--cliente"} << true << "operador" << 2 << QStringList {"err Falta valor tras «--cliente». Los clientes: java, html5." + help} << QByteArrayList();
        QTest::newRow("two clients") << QStringList {"--abrir", "química", "--cliente", "java", "--abrir", "física", "--cliente", "html5"} << true << "operador" << 2 << QStringList {"err Todas se abren en un cliente"} << QByteArrayList();
        QTest::newRow("a client without a site") << QStringList {"--cliente", "java"} << true << "operador" << 2 << QStringList {"err --cliente solo va con --abrir o --buscar."} << QByteArrayList();
        QTest::newRow("no such option") << QStringList {"--abierto"} << true << "operador" << 2 << QStringList {"err Opción desconocida «abierto»." + help} << QByteArrayList();
        QTest::newRow("one dash") << QStringList {"-abrir", "química"} << true << "operador" << 2 << QStringList {"err No existe la opción «-abrir». ¿Quería decir --abrir?" + help} << QByteArrayList();
        QTest::newRow("a letter off") << QStringList {"--ayda"} << true << "operador" << 2 << QStringList {"err No existe la opción «--ayda». ¿Quería decir --ayuda?"} << QByteArrayList();
        QTest::newRow("a name without its option") << QStringList {"química"} << true << "operador" << 2 << QStringList {"err Sobra «química». ¿Quería decir --abrir química?"} << QByteArrayList();
        QTest::newRow("list") << QStringList {"--lista"} << true << "" << 0 << QStringList {"out Arquitectura Técnica   Robledal              9081\n"} << QByteArrayList();
        QTest::newRow("help") << QStringList {"--ayuda"} << true << "" << 0 << QStringList {"out Uso: Centinela [opciones]\n"} << QByteArrayList();
        QTest::newRow("version, after Qt's own") << QStringList {"-platform", "offscreen", "--version"} << true << "" << 0 << QStringList {"out Centinela " CENTINELA_VERSION "\n"} << QByteArrayList();
        QTest::newRow("Java without a stored user") << QStringList {"--abrir", "química"} << true << "" << 1 << QStringList {"err " + noUser, "box " + noUser} << QByteArrayList();
        QTest::newRow("no console: the version") << QStringList {"-v"} << false << "" << 0 << QStringList {"box <pre>Centinela " CENTINELA_VERSION "</pre>"} << QByteArrayList();
        QTest::newRow("no console: a wrong name") << QStringList {"--abrir", "xyz"} << false << "" << 2 << QStringList {"box Ningún edificio ni aplicación se llama «xyz»."} << QByteArrayList();
        // clang-format on
    }

    // The program's own options: the exit status, what reaches the user (on the console, or in
    // a message box without one), and the commands that open the sites.
    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, console);
        QFETCH(QString, user);
        QFETCH(int, status);
        QFETCH(QStringList, said);
        QFETCH(QByteArrayList, commands);
        QVERIFY((store.folderExists() || store.createFolder()) && store.save(user, QString()));
        QStringList heard;
        const auto previous
            = Platform::setConsoleWriter([&](const QString &text, Platform::Stream stream) {
                  if (console)
                      heard << (stream == Platform::Stream::Output ? "out " : "err ") + text;
                  return console;
              });
        QObject boxes;
        whenVisible<QMessageBox>(&boxes, [&heard](QMessageBox *box) {
            heard << "box " + box->text();
            box->close();
        });
        CommandRecorder recorder;
        const std::optional<int> result
            = Arguments::carryOut(QStringList {"Centinela"} + arguments);
        Platform::setConsoleWriter(previous);
        QCOMPARE(result.value_or(-1), status);
        QCOMPARE(heard.size(), said.size());
        for (qsizetype i = 0; i < said.size(); ++i)
            QVERIFY2(heard[i].startsWith(said[i]), qPrintable(heard[i]));
        QCOMPARE(recorder.commands, commands);
    }

    // What a user types as a shortcut's name stays one file of the desktop folder.
    void fileNames()
    {
        QVERIFY(Platform::isFileName(" Mi turno (noche) "));
        for (const char *name : {"Mi turno: Química", "../Mi turno", "a\\b", "a\nb", " "})
            QVERIFY2(!Platform::isFileName(name), name);
#ifdef Q_OS_WIN
        QVERIFY(!Platform::isFileName("nul .txt"));
#endif
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

    void withoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output"); // the beginning of the standard output
        QTest::addColumn<QString>("error"); // part of the standard error
        const QString noDisplay = "Centinela no tiene ninguna pantalla";
        // clang-format off
        QTest::newRow("list") << QStringList {"--lista"} << 0 << "Arquitectura Técnica   Robledal" << "";
        QTest::newRow("version") << QStringList {"--version"} << 0 << "Centinela " CENTINELA_VERSION "\n" << "";
        QTest::newRow("a wrong name") << QStringList {"--abrir", "xyz"} << 2 << "" << "Ningún edificio ni aplicación se llama «xyz».";
        QTest::newRow("a mistyped option") << QStringList {"-abrir", "química"} << 2 << "" << "¿Quería decir --abrir?";
        QTest::newRow("two sites, HTML 5") << QStringList {"--abrir", "química", "--abrir", "física", "--cliente", "html5"} << 0 << "" << "";
        QTest::newRow("Java without a stored user") << QStringList {"--abrir", "química"} << 1 << "" << "no hay ningún usuario guardado";
        QTest::newRow("the finder") << QStringList {"--buscar"} << 1 << "" << noDisplay;
        QTest::newRow("the window, with Qt's options") << QStringList {"-style", "fusion"} << 1 << "" << noDisplay;
        // clang-format on
    }

    // Over ssh, from cron or in a container there is no display: the options need none, and
    // no run ends by a signal, as one does where Qt cannot reach the display it needs.
    void withoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, error);
        QVERIFY(store.save({}, {}) && writeScript(bin.filePath("xdg-open"), client));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(variable);
        QProcess centinela;
        centinela.setProcessEnvironment(environment);
        centinela.start(qEnvironmentVariable("CENTINELA_BIN_DIR") + "/Centinela", arguments);
        QVERIFY(centinela.waitForFinished(20000));
        QCOMPARE(centinela.exitStatus(), QProcess::NormalExit);
        QCOMPARE(centinela.exitCode(), status);
        const QString said = QString::fromLocal8Bit(centinela.readAllStandardOutput());
        QVERIFY2(output.isEmpty() ? said.isEmpty()
                                  : said.startsWith(output) && said.endsWith(u'\n'),
                 qPrintable(said));
        QVERIFY(QString::fromLocal8Bit(centinela.readAllStandardError()).contains(error));
        if (arguments.contains("html5")) { // both, whichever of the two recorded first
            QTRY_COMPARE(recorded().size(), 4);
            QVERIFY(recorded().contains("http://" CENTINELA_SCADA_HOST ":9083")
                    && recorded().contains("http://" CENTINELA_SCADA_HOST ":9085"));
        }
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

    // A shortcut made by keys on the desktop that the user's XDG folders name: a valid desktop
    // entry whose Exec line opens the site through the Centinela under test. A file of that
    // name is replaced only when the user says so.
    void desktopShortcut()
    {
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QVERIFY(QDir().mkpath(config)
                && putFile(config + "/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n"));
        const QString path = qEnvironmentVariable("HOME") + "/Escritorio/NEXO 1.desktop";
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && putFile(path, "mine"));
        const QString centinela = qEnvironmentVariable("CENTINELA_BIN_DIR") + "/Centinela";
        Platform::setProgramFile(centinela);
        QVERIFY(store.save("operador", "x y") && writeScript(bin.filePath("app"), client));

        for (const QString answer : {"Cancelar", "Reemplazar"}) {
            DialogAccesoDirecto dialog(Launch::Client::Java);
            whenVisible<QMessageBox>(&dialog, [&](QMessageBox *box) {
                for (QAbstractButton *button : box->buttons())
                    button->text() == answer ? button->click() : void();
                // Kept: the dialog stays, for Escape. Replaced: a box says so.
                if (answer == "Cancelar")
                    whenVisible<DialogAccesoDirecto>(&dialog,
                                                     [](QDialog *kept) { kept->reject(); });
                else
                    whenVisible<QMessageBox>(&dialog, [](QMessageBox *done) { done->accept(); });
            });
            whenVisible<DialogAccesoDirecto>(&dialog, [](QWidget *shown) {
                QTest::keyClicks(keyboardFocus(shown), "ne"); // NEXO 1, the first so begun
                QTest::keyClick(keyboardFocus(shown), Qt::Key_Return);
            });
            QCOMPARE(dialog.exec(), answer == "Reemplazar" ? QDialog::Accepted : QDialog::Rejected);
            QCOMPARE(fileBytes(path) == "mine", answer == "Cancelar");
        }
        QVERIFY(QFileInfo(path).isExecutable());
        QCOMPARE(QProcess::execute("/usr/bin/desktop-file-validate", {path}), 0);
        const QString entry = QString::fromUtf8(fileBytes(path));
        QStringList command
            = QProcess::splitCommand(entry.section("\nExec=", 1).section(u'\n', 0, 0));
        QCOMPARE(command.takeFirst(), centinela);
        QCOMPARE(QProcess::execute(centinela, command), 0);
        QTRY_COMPARE(recorded(),
                     QStringList({bin.filePath("app"), "multipleinstance",
                                  CENTINELA_SCADA_HOST ":9091", "user:operador", "password:x y"}));
        QCOMPARE(QProcess::execute(centinela, {"--abrir", "xyz"}), Arguments::usageError);
        QCOMPARE(QProcess::execute(centinela, {"-style", "fusion", "--version"}), 0); // Qt's

        // Beside it, the same site's shortcut for the HTML 5 client, and one for a shift's two
        // sites under the name the user gives it.
        const auto make = [](const std::function<void(QWidget *)> &keys) {
            DialogAccesoDirecto dialog(Launch::Client::Java);
            whenVisible<DialogAccesoDirecto>(&dialog, [&](QWidget *shown) {
                whenVisible<QMessageBox>(shown, [](QMessageBox *done) { done->accept(); });
                keys(shown);
                if (shown->isVisible()) // not created, for a question or a warning
                    static_cast<QDialog *>(shown)->reject();
            });
            return dialog.exec();
        };
        QCOMPARE(make([](QWidget *shown) {
                     QTest::keyClicks(keyboardFocus(shown), "ne");
                     QTest::keyClick(keyboardFocus(shown), Qt::Key_H, Qt::AltModifier);
                     // A mnemonic clicks its button once the button has shown itself pressed.
                     QTRY_VERIFY(shown->findChild<QRadioButton *>("radioButtonHtml5")->isChecked());
                     QTest::keyClick(keyboardFocus(shown), Qt::Key_Return);
                 }),
                 QDialog::Accepted);
        QCOMPARE(make([](QWidget *shown) {
                     QTest::keyClicks(keyboardFocus(shown), "ne");
                     QTest::keyClick(keyboardFocus(shown), Qt::Key_Down, Qt::ShiftModifier);
                     QTest::keyClick(keyboardFocus(shown), Qt::Key_N, Qt::AltModifier);
                     QTest::keyClicks(keyboardFocus(shown), "Mi turno");
                     QTest::keyClick(keyboardFocus(shown), Qt::Key_Return);
                 }),
                 QDialog::Accepted);
        QVERIFY(QFile::exists(path) && QFile::exists(path.chopped(8) + " (HTML 5).desktop"));
        const QString turno = QFileInfo(path).path() + "/Mi turno.desktop";
        QCOMPARE(QProcess::execute("/usr/bin/desktop-file-validate", {turno}), 0);
        command = QProcess::splitCommand(
            QString::fromUtf8(fileBytes(turno)).section("\nExec=", 1).section(u'\n', 0, 0));
        QFile::remove("record.txt");
        QCOMPARE(QProcess::execute(command.takeFirst(), command), 0);
        QTRY_COMPARE(recorded().filter(":90").size(), 2); // whichever recorded first
        QVERIFY(recorded().contains(CENTINELA_SCADA_HOST ":9091")
                && recorded().contains(CENTINELA_SCADA_HOST ":9092"));
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

    QTemporaryDir bin; // first on PATH
    QTemporaryDir program; // Centinela's folder (bin/) and its helper's
    const QString programFolder = program.filePath("bin");
    const QString helperFolder = Platform::startHelperFolder(programFolder);
#endif
private:
    QTemporaryDir work; // the current folder
    TestHome home; // for the credential files
    const CredentialStore store {Platform::dataFolder()};
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
