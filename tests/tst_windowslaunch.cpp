#include "commandline.h"
#include "config.h"
#include "support.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QTest>

namespace {

const QString host = QStringLiteral(CENTINELA_SCADA_HOST);

// Long enough that the line, with both values escaped, just fits cmd's 8191 characters.
QString ampersandsNearTheLimit()
{
    const int fixed = CommandLine::javaClient(host, 9083, {}, {}, Platform::windowsCmd()).size();
    return QString((8191 - fixed) / 4, u'&');
}

const QList<std::pair<const char *, QString>> values = {
    {"full-width ampersands", QStringLiteral("＆calc＆")},
    {"full-width caret before an ampersand", QStringLiteral("＾&calc")},
    {"full-width bar", QStringLiteral("a｜pwned")},
    {"full-width redirections", QStringLiteral("a＞out.txt＜in.txt")},
    {"full-width percent signs", QStringLiteral("％CENTINELA_AMP％")},
    {"full-width quotes round a blank", QStringLiteral("＂a &calc＂")},
    {"ampersands", QStringLiteral("x&calc&&calc")},
    {"bars", QStringLiteral("a|pwned||pwned")},
    {"redirection out", QStringLiteral("a>out.txt")},
    {"redirection in", QStringLiteral("a<in.txt")},
    {"parentheses", QStringLiteral("(calc)")},
    {"every special", QStringLiteral("^&|<>()\"%!")},
    {"carets inside and trailing", QStringLiteral("a^b^")},
    {"exclamation marks", QStringLiteral("!CENTINELA_AMP!")},
    {"variables", QStringLiteral("%CENTINELA_AMP%%PATH%")},
    {"substring of a variable", QStringLiteral("%CENTINELA_AMP:~0,7%")},
    {"substitution in a variable", QStringLiteral("%CENTINELA_AMP:x=y%")},
    {"the percent escape itself", QStringLiteral("%%cd:~,%")},
    {"lone percent", QStringLiteral("50%")},
    {"quote opening cmd's quoted mode", QStringLiteral("\"&calc")},
    {"quotes round an ampersand", QStringLiteral("\"&calc\"")},
    {"quote, blank and ampersands", QStringLiteral("a\" &pwned& \"b")},
    {"backslash before a quote", QStringLiteral("a\\\"&calc")},
    {"blanks and trailing backslashes", QStringLiteral("  a b\\\\")},
    {"tab", QStringLiteral("a\tb")},
    {"control characters before an ampersand", QStringLiteral("\x01x\n&calc\x7f")},
    {"letters of the code page", QStringLiteral("José ñandú€")},
    {"letters outside the code page", QStringLiteral("山田 Ελένη")},
    {"plain punctuation", QStringLiteral(".-_@+=,:/#$~*?[]{}';")},
    {"ampersands near the length limit", ampersandsNearTheLimit()},
};

} // namespace

// The Java command as Centinela composes it on Windows, handed to a real cmd.exe (Wine's)
// through msvcrt's system() after the ANSI conversion, by wine/probe.c as driver.exe. The
// Java client is a recording app.exe; calc.exe and pwned.exe are decoys that must never run.
// Each value goes in as both the user name and the password.
class TestWindowsLaunch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        for (const char *name : {"driver.exe", "app.exe", "calc.exe", "pwned.exe"})
            QVERIFY(QFile::copy(QStringLiteral(CENTINELA_PROBE), work.filePath(name)));
        // Kept in the build folder: making a Wine prefix takes longer than the whole test.
        if (!QFileInfo::exists(qEnvironmentVariable("WINEPREFIX") + "/system.reg"))
            wine({QStringLiteral("wineboot"), QStringLiteral("--init")});

        // Control characters are left out before anything else, and lines carry no line feeds.
        QStringList raw;
        for (const auto &[name, value] : values)
            raw << CommandLine::withoutControlCharacters(value);
        const QStringList carried = wine({"driver.exe", "roundtrip", "in.txt", "out.txt"}, raw);
        QCOMPARE(carried.size(), raw.size());
        for (int i = 0; i < raw.size(); ++i)
            codePage.insert(raw.at(i), carried.at(i));

        // What Centinela composes on a Windows with that code page: once through start, and once
        // straight to app, since Wine's start rebuilds the line where Windows' passes it on as is.
        Platform::CommandProcessor cmd = Platform::windowsCmd();
        cmd.throughCodePage = [this](const QString &value) {
            return codePage.value(CommandLine::withoutControlCharacters(value));
        };
        QStringList lines;
        for (const auto &[name, value] : values) {
            const QString line = CommandLine::javaClient(host, 9083, value, value, cmd);
            QVERIFY2(cmd.accepts(line), name);
            lines << line << line.mid(QStringLiteral("start ").size());
        }
        wine({"driver.exe", "run", "in.txt"}, lines);
    }

    void valueArrivesWhole_data()
    {
        QTest::addColumn<int>("line");
        for (int i = 0; i < values.size(); ++i)
            QTest::newRow(values.at(i).first) << 2 * i;
    }

    void valueArrivesWhole()
    {
        QFETCH(int, line);
        const QString &value = values.at(line / 2).second;

        for (const int run : {line, line + 1}) {
            QVERIFY2(!linesOf(QStringLiteral("record-%1.txt").arg(run)).isEmpty(), "no app.exe");
            const QStringList marks
                = QDir(work.path()).entryList({QStringLiteral("ran * in case %1").arg(run)});
            QVERIFY2(marks.isEmpty(), qPrintable(marks.join(u' ')));
        }
        const QString arriving = codePage.value(CommandLine::withoutControlCharacters(value));
        QCOMPARE(linesOf(QStringLiteral("record-%1.txt").arg(line + 1)).mid(1),
                 QStringList({"multipleinstance", host + QStringLiteral(":9083"),
                              "user:" + arriving, "password:" + arriving}));
    }

private:
    // Runs `arguments` under Wine in the test's folder, with `lines` in in.txt; returns out.txt.
    QStringList wine(const QStringList &arguments, const QStringList &lines = {})
    {
        putFile(work.filePath("in.txt"), (lines.join(u'\n') + u'\n').toUtf8());
        QProcess process;
        process.setWorkingDirectory(work.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(CENTINELA_WINE), arguments);
        process.waitForFinished(600000);
        return linesOf(QStringLiteral("out.txt"));
    }

    QStringList linesOf(const QString &file) const
    {
        QStringList lines = QString::fromUtf8(fileBytes(work.filePath(file))).split(u'\n');
        lines.removeLast(); // after the last line feed
        return lines;
    }

    QTemporaryDir work;
    QHash<QString, QString> codePage; // each value as the ANSI code page carries it
};

QTEST_GUILESS_MAIN(TestWindowsLaunch)
#include "tst_windowslaunch.moc"
