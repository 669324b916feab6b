#ifndef ARGUMENTS_H
#define ARGUMENTS_H

#include "launch.h"

#include <QList>
#include <QStringList>

#include <optional>

struct Site;

// The program's own command-line options: open sites directly, find one, list them, help and
// version. Qt's own options are left to the application object that shows windows.
namespace Arguments {

// Exit statuses: a client that could not be started (or nothing to show a window on), and a
// command line that asks for something that is not there.
constexpr int launchFailed = 1;
constexpr int usageError = 2;

// Carries out what `arguments` (the program's name first) ask for and returns the exit status;
// nothing when they ask for nothing of Centinela's, and the window is to start as usual.
std::optional<int> carryOut(const QStringList &arguments);

// Tells the user that the window cannot be shown for want of a display, and returns the status.
int noDisplay();

// The arguments that open `sites`, in this order, in `client` directly, as a desktop shortcut
// starts Centinela.
QStringList forOpening(const QList<const Site *> &sites, Launch::Client client);

} // namespace Arguments

#endif // ARGUMENTS_H
