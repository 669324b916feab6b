#include "commandline.h"

#include <QTest>

// Each credential as the end of one argument of the Java command: escaped for the command
// processor as it will read it, and unchanged where nothing needs escaping.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void cmdArgument_data();
    void cmdArgument();
    void posixArgument_data();
    void posixArgument();
};

namespace {

// What Windows-1252 with best fit makes of the full-width forms: their ASCII look-alikes.
QString foldFullWidth(const QString &value)
{
    QString folded = value;
    for (QChar &c : folded) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(c.unicode() - 0xFF01 + 0x21);
    }
    return folded;
}

void addCommonRows()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("argument");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("letters and digits") << "Operador01"
                                        << "Operador01";
}

} // namespace

void TestCommandLine::cmdArgument_data()
{
    addCommonRows();
    QTest::newRow("letters of any script") << "JoséÑúñezΕλένη山田"
                                           << "JoséÑúñezΕλένη山田";
    QTest::newRow("plain punctuation") << ".-_@+=,:/#$~*?[]{}';"
                                       << ".-_@+=,:/#$~*?[]{}';";
    QTest::newRow("backslashes without quotes") << "a\\b\\"
                                                << "a\\b\\";
    QTest::newRow("every caret special") << "^&|<>()!"
                                         << "^^^&^|^<^>^(^)^!";
    QTest::newRow("percent") << "50%"
                             << "50%%cd:~,%";
    QTest::newRow("variable") << "%PATH%"
                              << "%%cd:~,%PATH%%cd:~,%";
    QTest::newRow("blank") << "José Luis"
                           << "^\"José Luis^\"";
    QTest::newRow("leading blank") << " a"
                                   << "^\" a^\"";
    QTest::newRow("tab kept and quoted") << "a\tb"
                                         << "^\"a\tb^\"";
    QTest::newRow("quote") << "a\"b"
                           << "^\"a\\^\"b^\"";
    QTest::newRow("backslashes before a quote") << "a\\\\\"&"
                                                << "^\"a\\\\\\\\\\^\"^&^\"";
    QTest::newRow("blank and trailing backslash") << "a b\\"
                                                  << "^\"a b\\\\^\"";
    QTest::newRow("control characters left out") << "a\nb\r\x01&c\x7f"
                                                 << "ab^&c";
    QTest::newRow("full-width ampersand") << "＆calc"
                                          << "^&calc";
    QTest::newRow("full-width caret before an ampersand") << "＾&calc"
                                                          << "^^^&calc";
    QTest::newRow("full-width percent signs") << "％PATH％"
                                              << "%%cd:~,%PATH%%cd:~,%";
    QTest::newRow("full-width quotes round a blank") << "＂a b＂"
                                                     << "^\"\\^\"a b\\^\"^\"";
}

void TestCommandLine::cmdArgument()
{
    QFETCH(QString, value);
    QFETCH(QString, argument);
    Platform::CommandProcessor cmd = Platform::windowsCmd();
    cmd.throughCodePage = foldFullWidth;
    QCOMPARE(CommandLine::argumentValue(value, cmd), argument);
}

void TestCommandLine::posixArgument_data()
{
    addCommonRows();
    QTest::newRow("plain punctuation") << "a@b%c+d=e:f,g.h/i_j-k"
                                       << "a@b%c+d=e:f,g.h/i_j-k";
    QTest::newRow("blank") << "a b"
                           << "'a b'";
    QTest::newRow("ampersand") << "p&ss"
                               << "'p&ss'";
    QTest::newRow("command substitution") << "$(id)"
                                          << "'$(id)'";
    QTest::newRow("backquotes") << "`x`"
                                << "'`x`'";
    QTest::newRow("single quote") << "it's"
                                  << "'it'\\''s'";
    QTest::newRow("non-ASCII letters") << "ñu"
                                       << "'ñu'";
    QTest::newRow("glob") << "*"
                          << "'*'";
    QTest::newRow("tilde") << "~root"
                           << "'~root'";
    QTest::newRow("control characters left out") << "a\n;b\x7f"
                                                 << "'a;b'";
    QTest::newRow("tab kept and quoted") << "a\tb"
                                         << "'a\tb'";
}

void TestCommandLine::posixArgument()
{
    QFETCH(QString, value);
    QFETCH(QString, argument);
    QCOMPARE(CommandLine::argumentValue(value, Platform::posixShell()), argument);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
