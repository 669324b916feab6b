#ifndef ARGUMENTS_H
#define ARGUMENTS_H

#include "launch.h"

#include <QStringList>

#include <optional>

struct Site;

// The program's own command-line options: open one site directly, list the sites, help and
// version. Qt's own options are the application object's, and gone from the list by then.
namespace Arguments {

// Exit statuses: a client that could not be started, and a command line that asks for
// something that is not there.
constexpr int launchFailed = 1;
constexpr int usageError = 2;

// Carries out what `arguments` (the program's name first) ask for and returns the exit status;
// nothing when they ask for nothing of Centinela's, and the window is to start as usual.
std::optional<int> carryOut(const QStringList &arguments);

// The arguments that open `site` in `client` directly, as a desktop shortcut starts Centinela.
QStringList forOpening(const Site &site, Launch::Client client);

} // namespace Arguments

#endif // ARGUMENTS_H
