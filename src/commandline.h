#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>

// The command lines that start the SCADA clients, and the escaping that keeps user input
// from being read as commands by the command processor.
namespace CommandLine {

// The Java client, through the shortcut "app" that the user keeps in the program's folder.
// The user name and the password go through Platform::escapeForCommandProcessor.
QString javaClient(const QString &host, int port, const QString &user, const QString &password);

// The HTML5 client, opened in the default web browser.
QString html5Client(const QString &host, int port);

// Leaves out the control characters U+0000 to U+001F and U+007F, which one command line
// cannot carry.
QString withoutControlCharacters(const QString &value);

// cmd.exe: a caret before each character that cmd would otherwise interpret.
QString escapeForCmd(const QString &value);

// /bin/sh: plain words stay as they are, anything else is single-quoted.
QString escapeForPosixShell(const QString &value);

} // namespace CommandLine

#endif // COMMANDLINE_H
