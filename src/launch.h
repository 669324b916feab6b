#ifndef LAUNCH_H
#define LAUNCH_H

#include <QString>

#include <optional>

// Opening a site's view in one of the two clients, the same from the window and from the
// command line.
namespace Launch {

enum class Client { Java, Html5 };

// The command line that opens `port` of `host` in `client`; the Java client logs in with
// `user` and `password`.
QString command(Client client, const QString &host, int port, const QString &user,
                const QString &password);

// Hands `command` to the command processor. Nothing when the client started; otherwise what
// went wrong, and what the user can do about it, as a message for the user.
std::optional<QString> run(const QString &command);

} // namespace Launch

#endif // LAUNCH_H
