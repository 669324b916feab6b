#ifndef PLATFORM_H
#define PLATFORM_H

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// Everything that differs between Windows and the other systems, with seams that tests replace.
namespace Platform {

// The command processor that system() hands a command line to, as far as composing a line
// for it depends on it.
struct CommandProcessor
{
    enum class Syntax { Cmd, PosixShell };

    Syntax syntax = Syntax::PosixShell;
    // The longest line it takes, in characters; 0 when there is no limit worth checking.
    int maxLineLength = 0;
    // What a text becomes on its way into the local 8-bit code page that the line is handed
    // over in, and back: the characters the processor will really read.
    std::function<QString(const QString &)> throughCodePage;

    bool accepts(const QString &line) const
    {
        return maxLineLength == 0 || line.size() <= maxLineLength;
    }
};

// cmd.exe, which refuses lines longer than 8191 characters. The conversion is this system's
// own; on Windows it is the ANSI code page with its best-fit mapping.
CommandProcessor windowsCmd();
// /bin/sh.
CommandProcessor posixShell();

// The processor that runCommand reaches here, unless a test has installed another.
CommandProcessor commandProcessor();
// Installs the processor that commandProcessor reports, or with nothing restores this
// system's own. Returns the one installed before, if any.
std::optional<CommandProcessor> setCommandProcessor(std::optional<CommandProcessor> processor);

// Receives one command line, already in the local 8-bit encoding, and returns what the
// command processor returned.
using CommandRunner = std::function<int(const QByteArray &command)>;

// Hands one command line to the platform's command processor (cmd.exe on Windows, /bin/sh
// elsewhere) through the C runtime's system(), unless a test has installed its own runner.
int runCommand(const QByteArray &command);

// The real hand-over: the C runtime's system().
int systemCommand(const QByteArray &command);

// Installs the runner that runCommand uses; an empty runner restores systemCommand.
// Returns the runner that was installed before.
CommandRunner setCommandRunner(CommandRunner runner);

// The folder of the two credential files: "C:/tmpRB" on Windows, as existing installations
// have it; elsewhere "tmpRB" in the user's data folder (~/.local/share/tmpRB on Linux).
QString dataFolder();

// Installs the folder that dataFolder reports, or with nothing restores this system's own;
// lets tests keep away from a real user's credentials. Returns the one installed before, if any.
std::optional<QString> setDataFolder(std::optional<QString> folder);

// The folder of the "start" helper that stands in for cmd's built-in where there is no cmd,
// for the executable in `executableFolder`: libexec/centinela beside bin/ when installed.
QString startHelperFolder(const QString &executableFolder);

// Where there is no cmd, appends the helper's folder to the PATH that command lines inherit,
// so that their "start" reaches it unless the user has a "start" of their own on PATH, and
// tells the helper the program's folder, where it looks for a program after the current
// folder. Nothing to do on Windows.
void provideStartCommand(const QString &executableFolder);

// Restricts the DLLs this process loads to those of the system folder: a portable program may
// be unpacked beside a downloaded DLL of a system name. The program's DLLs outside Windows'
// KnownDLLs are loaded on first use (cmake/windows.cmake), so this comes first in main().
// Nothing to do elsewhere.
void loadLibrariesFromSystemOnly();

// Where a window's client area lies from the corner of its frame: the left border and the title
// bar, as this window manager and scale draw them; (0, 0) without a frame.
QPoint frameOffset(const QWidget &window);
// Installs the offset that frameOffset reports for every window, or with nothing restores the
// window system's own. Returns the one installed before, if any.
std::optional<QPoint> setFrameOffset(std::optional<QPoint> offset);

// How a client launch ended, read from what system() returned for its command line.
enum class LaunchOutcome {
    // Also every launch on Windows, where cmd's start tells the user itself what went wrong.
    Started,
    // Our start helper found the program in none of the folders of programLookup().
    ProgramNotFound,
    // Our start helper found no program that opens an address in the web browser.
    NoBrowserOpener,
    // Anything else: a start of the user's own failed, or the shell could not run one.
    Failed,
};
LaunchOutcome launchOutcome(int systemStatus);

// Where the start helper looks for a program, in its order.
struct ProgramLookup
{
    QString currentFolder;
    QString programFolder;
    QStringList pathFolders; // without the helper's own folder
};
ProgramLookup programLookup();

// Whether windows can be shown: on Linux a display that the platform plugin Qt will use can
// reach (`platformArgument` is the value of a -platform option, if one was given); on Windows a
// desktop the user sees, which a service or a scheduled task without a logged-on user lacks.
bool hasDisplay(const QString &platformArgument = QString());

// Where a text that is not a window goes.
enum class Stream { Output, Error };

// Writes `text` to the program's standard output or error: the terminal, file or pipe that
// the user who started it reads. On Windows a program with windows has neither, unless they
// were redirected or it was started from a console, whose window it then writes into; without
// any this returns false, and the text is for a message box.
bool writeToConsole(const QString &text, Stream stream);
using ConsoleWriter = std::function<bool(const QString &text, Stream stream)>;
// Installs the writer that writeToConsole uses; an empty one restores the console's own.
// Returns the writer that was installed before.
ConsoleWriter setConsoleWriter(ConsoleWriter writer);

// A desktop shortcut that starts `program` with `arguments`: on Windows a shell link (.lnk)
// working in `workingFolder`, with the program's own icon; elsewhere a desktop entry
// (.desktop) with the installed icon.
struct Shortcut
{
    QString name;
    QString description;
    QString program;
    QStringList arguments;
    QString workingFolder;
};

// The user's desktop, where shortcuts go.
QString desktopFolder();
// Installs the folder that desktopFolder reports, or with nothing restores the user's own.
// Returns the one installed before, if any.
std::optional<QString> setDesktopFolder(std::optional<QString> folder);

// This program's own executable, which shortcuts start.
QString programFile();
// Installs the file that programFile reports, or with nothing restores this program's own.
// Returns the one installed before, if any.
std::optional<QString> setProgramFile(std::optional<QString> file);

// The name of the file of a shortcut called `name`: with .lnk on Windows, .desktop elsewhere.
QString shortcutFileName(const QString &name);
// Whether `name` can be a shortcut's file name on any desktop: no folder separator, none of the
// characters Windows refuses, no control character, and on Windows no device name (CON, NUL…).
bool isFileName(const QString &name);
// Writes `shortcut` to the file `path`, replacing any there; true when it was written whole.
bool writeShortcut(const QString &path, const Shortcut &shortcut);

} // namespace Platform

#endif // PLATFORM_H
