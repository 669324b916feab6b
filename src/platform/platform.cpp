#include "platform.h"

#include "config.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdlib>
#include <utility>

namespace Platform {

namespace {

CommandRunner &installedRunner()
{
    static CommandRunner runner;
    return runner;
}

std::optional<CommandProcessor> &installedProcessor()
{
    static std::optional<CommandProcessor> processor;
    return processor;
}

std::optional<QString> &installedDataFolder()
{
    static std::optional<QString> folder;
    return folder;
}

// On Windows toLocal8Bit() is the ANSI code page with best-fit mapping: a full-width
// ampersand comes out as a plain one, and cmd reads that.
QString throughLocal8Bit(const QString &text)
{
    return QString::fromLocal8Bit(text.toLocal8Bit());
}

} // namespace

CommandProcessor windowsCmd()
{
    return {CommandProcessor::Syntax::Cmd, 8191, throughLocal8Bit};
}

CommandProcessor posixShell()
{
    return {CommandProcessor::Syntax::PosixShell, 0, throughLocal8Bit};
}

CommandProcessor commandProcessor()
{
    if (installedProcessor())
        return *installedProcessor();
#ifdef Q_OS_WIN
    return windowsCmd();
#else
    return posixShell();
#endif
}

std::optional<CommandProcessor> setCommandProcessor(std::optional<CommandProcessor> processor)
{
    return std::exchange(installedProcessor(), std::move(processor));
}

int systemCommand(const QByteArray &command)
{
    // constData() of an empty array is "", so an empty command still reaches system().
    return std::system(command.constData());
}

int runCommand(const QByteArray &command)
{
    const CommandRunner &runner = installedRunner();
    return runner ? runner(command) : systemCommand(command);
}

CommandRunner setCommandRunner(CommandRunner runner)
{
    return std::exchange(installedRunner(), std::move(runner));
}

QString dataFolder()
{
    if (installedDataFolder())
        return *installedDataFolder();
#ifdef Q_OS_WIN
    return QStringLiteral("C:/tmpRB");
#else
    // There is no drive C: here, and a relative path would follow the current folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/tmpRB");
#endif
}

std::optional<QString> setDataFolder(std::optional<QString> folder)
{
    return std::exchange(installedDataFolder(), std::move(folder));
}

QString startHelperFolder(const QString &executableFolder)
{
    return QDir::cleanPath(executableFolder + QLatin1Char('/')
                           + QLatin1String(CENTINELA_START_HELPER_FOLDER));
}

void provideStartCommand(const QString &executableFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(executableFolder);
#else
    const QByteArray folder = QFile::encodeName(startHelperFolder(executableFolder));
    const QByteArray path = qgetenv("PATH");
    // An empty entry would stand for the current folder, so an empty PATH gets no separator.
    qputenv("PATH", path.isEmpty() ? folder : path + ':' + folder);
#endif
}

} // namespace Platform
