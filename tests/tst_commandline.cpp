#include "commandline.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void cmdEscaping_data();
    void cmdEscaping();
    void posixShellEscaping_data();
    void posixShellEscaping();
    void ordinaryValuesKeepTheCmdText_data();
    void ordinaryValuesKeepTheCmdText();
    void html5CommandCarriesNoCredentials();
};

static QString withChar(const char *before, char16_t c, const char *after)
{
    return QString::fromUtf8(before) + QChar(c) + QString::fromUtf8(after);
}

void TestCommandLine::cmdEscaping_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("ampersand") << "a&b"
                               << "a^&b";
    QTest::newRow("percent and quote") << "50%\"x"
                                       << "50^%^\"x";
    QTest::newRow("every special character") << "^&|<>()\"%!"
                                             << "^^^&^|^<^>^(^)^\"^%^!";
    QTest::newRow("variable expansion") << "%PATH%"
                                        << "^%PATH^%";
    QTest::newRow("second command") << "x&calc"
                                    << "x^&calc";
    QTest::newRow("pipe") << "a|b"
                          << "a^|b";
    QTest::newRow("redirection") << "a>out.txt"
                                 << "a^>out.txt";
    QTest::newRow("quotes do not switch mode") << "\"a&b\""
                                               << "^\"a^&b^\"";
    QTest::newRow("line feed is left out") << "a\nb&c"
                                           << "ab^&c";
    QTest::newRow("carriage return") << "a\r\nb"
                                     << "ab";
    QTest::newRow("nul") << withChar("a", 0, "b") << "ab";
    QTest::newRow("delete") << withChar("a", 0x7f, "b") << "ab";
    QTest::newRow("unit separator") << withChar("", 0x1f, "") << "";
    QTest::newRow("only control characters") << "\t\n\x01"
                                             << "";
}

void TestCommandLine::cmdEscaping()
{
    QFETCH(QString, value);
    QFETCH(QString, escaped);
    QCOMPARE(CommandLine::escapeForCmd(value), escaped);
}

void TestCommandLine::posixShellEscaping_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("empty stays empty") << QString() << QString();
    QTest::newRow("letters and digits") << "Operador01"
                                        << "Operador01";
    QTest::newRow("plain punctuation") << "a@b%c+d=e:f,g.h/i_j-k"
                                       << "a@b%c+d=e:f,g.h/i_j-k";
    QTest::newRow("blank") << "a b"
                           << "'a b'";
    QTest::newRow("ampersand") << "p&ss"
                               << "'p&ss'";
    QTest::newRow("semicolon") << "a;b"
                               << "'a;b'";
    QTest::newRow("command substitution") << "$(id)"
                                          << "'$(id)'";
    QTest::newRow("backquotes") << "`x`"
                                << "'`x`'";
    QTest::newRow("single quote") << "it's"
                                  << "'it'\\''s'";
    QTest::newRow("only a quote") << "'"
                                  << "''\\'''";
    QTest::newRow("glob") << "*"
                          << "'*'";
    QTest::newRow("tilde") << "~root"
                           << "'~root'";
    QTest::newRow("non-ASCII letter") << "ñu"
                                      << "'ñu'";
    QTest::newRow("line feed is left out") << "a\nid"
                                           << "aid";
    QTest::newRow("control character before a semicolon") << "a\n;b"
                                                          << "'a;b'";
    QTest::newRow("nul") << withChar("x", 0, ";y") << "'x;y'";
    QTest::newRow("delete") << withChar("", 0x7f, "z") << "z";
}

void TestCommandLine::posixShellEscaping()
{
    QFETCH(QString, value);
    QFETCH(QString, escaped);
    QCOMPARE(CommandLine::escapeForPosixShell(value), escaped);
}

void TestCommandLine::ordinaryValuesKeepTheCmdText_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("empty") << QString();
    QTest::newRow("letters and digits") << "operador42";
    QTest::newRow("Spanish letters") << "José Ñúñez";
    QTest::newRow("other scripts") << "Ελένη Дмитрий 山田";
    QTest::newRow("blanks") << "  a  b  ";
    QTest::newRow("punctuation") << ". _ - @ + = , : / # $ ~ * ? [ ] { } ' ;";
}

void TestCommandLine::ordinaryValuesKeepTheCmdText()
{
    QFETCH(QString, value);
    QCOMPARE(CommandLine::escapeForCmd(value), value);
}

void TestCommandLine::html5CommandCarriesNoCredentials()
{
    QCOMPARE(CommandLine::html5Client(QStringLiteral("scada.example"), 9081),
             QStringLiteral("start http://scada.example:9081"));
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
