#include "commandline.h"

#include "platform/platform.h"

namespace CommandLine {

namespace {

bool isControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
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

} // namespace

QString javaClient(const QString &host, int port, const QString &user, const QString &password)
{
    return QStringLiteral("start app multipleinstance ") + host + u':' + QString::number(port)
        + QStringLiteral(" user:") + Platform::escapeForCommandProcessor(user)
        + QStringLiteral(" password:") + Platform::escapeForCommandProcessor(password);
}

QString html5Client(const QString &host, int port)
{
    return QStringLiteral("start http://") + host + u':' + QString::number(port);
}

QString withoutControlCharacters(const QString &value)
{
    QString result = value;
    result.removeIf(isControlCharacter);
    return result;
}

QString escapeForCmd(const QString &value)
{
    // A caret makes cmd take the next character literally; before a quote it also keeps cmd
    // from switching into quoted mode, and before % it stops %NAME% expansion.
    static const QString special = QStringLiteral("^&|<>()\"%!");
    QString escaped;
    for (const QChar c : withoutControlCharacters(value)) {
        if (special.contains(c))
            escaped += u'^';
        escaped += c;
    }
    return escaped;
}

QString escapeForPosixShell(const QString &value)
{
    const QString cleaned = withoutControlCharacters(value);
    if (isPlainShellWord(cleaned))
        return cleaned;
    QString quoted = cleaned;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

} // namespace CommandLine
