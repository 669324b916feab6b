#include "commandline.h"

namespace CommandLine {

namespace {

bool isControlCharacter(QChar c)
{
    return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f;
}

bool isPlainShellWord(const QString &value)
{
    static const QString plainPunctuation = QStringLiteral("@%+=:,./_-");
    for (const QChar c : value) {
        const bool asciiAlphanumeric
            = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        if (!asciiAlphanumeric && !plainPunctuation.contains(c))
            return false;
    }
    return true;
}

// cmd.exe: a caret before each character that cmd would otherwise interpret.
QString escapeForCmd(const QString &value)
{
    // A caret makes cmd take the next character literally; before a quote it also keeps cmd
    // from switching into quoted mode. Carets do not stop %NAME:~0,5% from being expanded,
    // since cmd expands before it reads carets; %cd:~,% is an empty substring of a variable
    // that is always defined, so "%%cd:~,%" leaves one "%" and pairs with nothing.
    static const QString special = QStringLiteral("^&|<>()\"!");
    QString escaped;
    for (const QChar c : value) {
        if (c == u'%') {
            escaped += QStringLiteral("%%cd:~,%");
            continue;
        }
        if (special.contains(c))
            escaped += u'^';
        escaped += c;
    }
    return escaped;
}

// /bin/sh: plain words stay as they are, anything else is single-quoted.
QString escapeForPosixShell(const QString &value)
{
    if (isPlainShellWord(value))
        return value;
    QString quoted = value;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

} // namespace

QString javaClient(const QString &host, int port, const QString &user, const QString &password,
                   const Platform::CommandProcessor &processor)
{
    return QStringLiteral("start app multipleinstance ") + host + u':' + QString::number(port)
        + QStringLiteral(" user:") + argumentValue(user, processor) + QStringLiteral(" password:")
        + argumentValue(password, processor);
}

QString html5Client(const QString &host, int port)
{
    return QStringLiteral("start http://") + host + u':' + QString::number(port);
}

QString windowsArgument(const QString &value)
{
    if (!value.contains(u' ') && !value.contains(u'\t') && !value.contains(u'"'))
        return value;
    // Backslashes are literal unless a quote follows them; then each one is doubled.
    QString quoted = QStringLiteral("\"");
    qsizetype backslashes = 0;
    for (const QChar c : value) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"')
            quoted += QString(2 * backslashes + 1, u'\\');
        else
            quoted += QString(backslashes, u'\\');
        quoted += c;
        backslashes = 0;
    }
    return quoted + QString(2 * backslashes, u'\\') + u'"';
}

QString argumentValue(const QString &value, const Platform::CommandProcessor &processor)
{
    // Escaped as the processor will read it: the code page may turn a harmless character
    // into a special one, such as a full-width ampersand into "&".
    const QString carried = withoutControlCharacters(processor.throughCodePage(value));
    switch (processor.syntax) {
    case Platform::CommandProcessor::Syntax::Cmd:
        return escapeForCmd(windowsArgument(carried));
    case Platform::CommandProcessor::Syntax::PosixShell:
        break;
    }
    return escapeForPosixShell(carried);
}

QString withoutControlCharacters(const QString &value)
{
    QString result = value;
    result.removeIf(isControlCharacter);
    return result;
}

} // namespace CommandLine
