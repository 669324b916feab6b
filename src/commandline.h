#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include "platform/platform.h"

#include <QString>

// The command lines that start the SCADA clients, and the escaping that keeps user input
// from being read as commands by the command processor.
namespace CommandLine {

// The Java client, through the shortcut "app" that the user keeps in the program's folder,
// with the user name and the password as arguments for `processor`.
QString javaClient(const QString &host, int port, const QString &user, const QString &password,
                   const Platform::CommandProcessor &processor);

// The HTML5 client, opened in the default web browser.
QString html5Client(const QString &host, int port);

// A value quoted, where it holds a blank, a tab or a quote, by the rules of the Microsoft C
// runtime (and CommandLineToArgvW), so that the started program reads it as one argument.
QString windowsArgument(const QString &value);

// One value as the end of one argument for `processor`: the characters its code page
// carries, without control characters, quoted and escaped so that it arrives whole and
// literal. Plain values stay as they are.
QString argumentValue(const QString &value, const Platform::CommandProcessor &processor);

// Leaves out the control characters U+0000 to U+001F and U+007F, which one command line
// cannot carry; a tab stays, since a quoted argument can hold it.
QString withoutControlCharacters(const QString &value);

} // namespace CommandLine

#endif // COMMANDLINE_H
