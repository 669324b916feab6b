#ifndef PLATFORM_H
#define PLATFORM_H

#include <QByteArray>
#include <QString>

#include <functional>

// Everything that differs between Windows and the other systems, with seams that tests replace.
namespace Platform {

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

// Escapes one value for the command processor that runCommand reaches on this platform.
QString escapeForCommandProcessor(const QString &value);

// The folder of the two credential files: "C:/tmpRB" on Windows, as existing installations
// have it; elsewhere "tmpRB" in the user's data folder (~/.local/share/tmpRB on Linux).
QString dataFolder();

// The folder of the "start" helper that stands in for cmd's built-in where there is no cmd,
// for the executable in `executableFolder`: libexec/centinela beside bin/ when installed.
QString startHelperFolder(const QString &executableFolder);

// Where there is no cmd, appends the helper's folder to the PATH that command lines inherit,
// so that their "start" reaches it unless the user has a "start" of their own on PATH.
// Nothing to do on Windows.
void provideStartCommand(const QString &executableFolder);

} // namespace Platform

#endif // PLATFORM_H
