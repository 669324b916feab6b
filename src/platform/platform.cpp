#include "platform.h"

#include "config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace Platform {

namespace {

CommandRunner &installedRunner()
{
    static CommandRunner runner;
    return runner;
}

// The start helper reads the program's folder from here.
constexpr char programFolderVariable[] = "CENTINELA_PROGRAM_FOLDER";

QString programFolder()
{
    return QFile::decodeName(qgetenv(programFolderVariable));
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

std::optional<QPoint> &installedFrameOffset()
{
    static std::optional<QPoint> offset;
    return offset;
}

ConsoleWriter &installedConsoleWriter()
{
    static ConsoleWriter writer;
    return writer;
}

std::optional<QString> &installedProgramFile()
{
    static std::optional<QString> file;
    return file;
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

QPoint frameOffset(const QWidget &window)
{
    if (installedFrameOffset())
        return *installedFrameOffset();
    return window.geometry().topLeft() - window.frameGeometry().topLeft();
}

std::optional<QPoint> setFrameOffset(std::optional<QPoint> offset)
{
    return std::exchange(installedFrameOffset(), offset);
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
    QByteArray path = qgetenv("PATH");
    // Unset, PATH leaves the shell its default folders, which setting it would lose.
    if (!qEnvironmentVariableIsSet("PATH")) {
        path = QByteArray(qsizetype(confstr(_CS_PATH, nullptr, 0)), '\0');
        if (!path.isEmpty() && confstr(_CS_PATH, path.data(), size_t(path.size())) > 0)
            path.chop(1); // the terminating null
    }
    // An empty entry would stand for the current folder, so an empty PATH gets no separator.
    qputenv("PATH", path.isEmpty() ? folder : path + ':' + folder);
    qputenv(programFolderVariable, QFile::encodeName(executableFolder));
#endif
}

void loadLibrariesFromSystemOnly()
{
#ifdef Q_OS_WIN
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
#endif
}

#ifndef Q_OS_WIN
namespace {

// Whether the "start" that /bin/sh finds on PATH is our helper: only ours gives its exit
// statuses the meanings that launchOutcome reads.
bool ownStartRuns()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("start"));
    const QString ours = startHelperFolder(programFolder()) + QStringLiteral("/start");
    return !found.isEmpty() && !programFolder().isEmpty()
        && QFileInfo(found).canonicalFilePath() == QFileInfo(ours).canonicalFilePath();
}

} // namespace
#endif

LaunchOutcome launchOutcome(int systemStatus)
{
#ifdef Q_OS_WIN
    Q_UNUSED(systemStatus);
    return LaunchOutcome::Started;
#else
    if (systemStatus == 0)
        return LaunchOutcome::Started;
    if (systemStatus == -1 || !WIFEXITED(systemStatus) || !ownStartRuns())
        return LaunchOutcome::Failed;
    // The helper's documented statuses (src/platform/start).
    switch (WEXITSTATUS(systemStatus)) {
    case 3:
        return LaunchOutcome::ProgramNotFound;
    case 4:
        return LaunchOutcome::NoBrowserOpener;
    default:
        return LaunchOutcome::Failed;
    }
#endif
}

ProgramLookup programLookup()
{
    QStringList path = QFile::decodeName(qgetenv("PATH")).split(u':', Qt::SkipEmptyParts);
    path.removeAll(startHelperFolder(programFolder()));
    return {QDir::currentPath(), programFolder(), path};
}

bool hasDisplay(const QString &platformArgument)
{
#ifdef Q_OS_WIN
    Q_UNUSED(platformArgument);
    // A service's window station is invisible: a message box there would wait for ever.
    USEROBJECTFLAGS flags {};
    return !GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                      nullptr)
        || flags.dwFlags & WSF_VISIBLE;
#else
    const QString chosen
        = platformArgument.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platformArgument;
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (chosen.isEmpty())
        return x11 || wayland;
    // Qt tries the plugins of a list such as "wayland;xcb" in turn; a plugin's options follow ':'.
    const QStringList plugins = chosen.split(u';', Qt::SkipEmptyParts);
    return std::any_of(plugins.cbegin(), plugins.cend(), [&](const QString &plugin) {
        const QString name = plugin.section(u':', 0, 0);
        return name == QLatin1String("xcb")             ? x11
            : name.startsWith(QLatin1String("wayland")) ? wayland
                                                        : true; // offscreen, vnc, eglfs…
    });
#endif
}

namespace {

#ifdef Q_OS_WIN
// The handle that the program's output or error goes to, if any: one that was redirected, or
// else the console of the program that started this one, which it joins.
HANDLE consoleHandle(Stream stream)
{
    const DWORD which = stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    const HANDLE redirected = GetStdHandle(which);
    if (redirected && redirected != INVALID_HANDLE_VALUE)
        return redirected;
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
        return nullptr; // no console to join (ERROR_ACCESS_DENIED: joined one already)
    const HANDLE console
        = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return nullptr;
    SetStdHandle(which, console);
    return console;
}
#endif

bool writeToOwnConsole(const QString &text, Stream stream)
{
#ifdef Q_OS_WIN
    const HANDLE handle = consoleHandle(stream);
    if (!handle)
        return false;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) // a console window takes the text as it is
        return WriteConsoleW(handle, text.utf16(), DWORD(text.size()), &written, nullptr);
    const QByteArray bytes = text.toUtf8(); // a file or a pipe
    return WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
#else
    FILE *file = stream == Stream::Output ? stdout : stderr;
    const QByteArray bytes = text.toLocal8Bit();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size())
        && std::fflush(file) == 0;
#endif
}

} // namespace

bool writeToConsole(const QString &text, Stream stream)
{
    const ConsoleWriter &writer = installedConsoleWriter();
    return writer ? writer(text, stream) : writeToOwnConsole(text, stream);
}

ConsoleWriter setConsoleWriter(ConsoleWriter writer)
{
    return std::exchange(installedConsoleWriter(), std::move(writer));
}

QString programFile()
{
    return installedProgramFile().value_or(QCoreApplication::applicationFilePath());
}

std::optional<QString> setProgramFile(std::optional<QString> file)
{
    return std::exchange(installedProgramFile(), std::move(file));
}

} // namespace Platform
