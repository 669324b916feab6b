#include "arguments.h"

#include "config.h"
#include "dialogs/dialoguser.h"
#include "platform/platform.h"
#include "sites.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QMessageBox>

namespace Arguments {

namespace {

const QString openName = QStringLiteral("abrir");
const QString clientName = QStringLiteral("cliente");
const QHash<QString, Launch::Client> clients = {{QStringLiteral("java"), Launch::Client::Java},
                                                {QStringLiteral("html5"), Launch::Client::Html5}};

// Where the user reads it: the console that started the program, or else a message box.
void tell(const QString &text, Platform::Stream stream)
{
    if (Platform::writeToConsole(text + u'\n', stream))
        return;
    const bool error = stream == Platform::Stream::Error;
    // Help and lists keep their columns, as in a terminal.
    QMessageBox box(
        error ? QMessageBox::Warning : QMessageBox::Information, QStringLiteral("Centinela"),
        error ? text : QStringLiteral("<pre>") + text.toHtmlEscaped() + QStringLiteral("</pre>"),
        QMessageBox::Ok);
    box.exec();
}

// A client that did not start is told as the window tells it, and on the console too.
void reportFailure(const QString &text)
{
    Platform::writeToConsole(text + u'\n', Platform::Stream::Error);
    QMessageBox::warning(nullptr, QStringLiteral("Centinela"), text);
}

int usage(const QString &problem,
          const QString &hint = QStringLiteral("«Centinela --ayuda» explica las opciones."))
{
    tell(problem + u'\n' + hint, Platform::Stream::Error);
    return usageError;
}

QString names(const QList<const Site *> &sites)
{
    QStringList names;
    for (const Site *site : sites)
        names << site->name;
    return names.join(QStringLiteral(", "));
}

QString listing()
{
    qsizetype nameWidth = 0, groupWidth = 0;
    for (const Site &site : Sites::all()) {
        nameWidth = std::max(nameWidth, site.name.size());
        groupWidth = std::max(groupWidth, site.group.size());
    }
    QStringList lines;
    for (const Site &site : Sites::all())
        lines << site.name.leftJustified(nameWidth + 2) + site.group.leftJustified(groupWidth + 2)
                + QString::number(site.port);
    return lines.join(u'\n');
}

int open(const QString &name, const QString &client)
{
    const auto chosen = clients.constFind(client.toLower());
    if (chosen == clients.cend())
        return usage(QStringLiteral("No existe el cliente «%1»: elija java o html5.").arg(client));
    const Sites::Lookup found = Sites::lookup(name);
    const QString listHint = QStringLiteral("«Centinela --lista» los muestra todos.");
    if (found.ambiguous) {
        return usage(QStringLiteral("«%1» es el comienzo de varios nombres: %2.")
                         .arg(name, names(found.closest)),
                     listHint);
    }
    if (!found.site) {
        const QString similar = found.closest.isEmpty()
            ? QString()
            : QStringLiteral(" Los más parecidos: %1.").arg(names(found.closest));
        return usage(
            QStringLiteral("Ningún edificio ni aplicación se llama «%1».%2").arg(name, similar),
            listHint);
    }
    const QString user = DialogUser::readUser();
    if (*chosen == Launch::Client::Java && user.isEmpty()) {
        reportFailure(QStringLiteral("No se ha podido abrir el cliente JAVA: no hay ningún "
                                     "usuario guardado.\n\nGuárdelo en la ventana de Centinela, "
                                     "en «Edición» › «Configurar usuario», o abra la vista en el "
                                     "cliente HTML 5 (--cliente html5)."));
        return launchFailed;
    }
    const QString command = Launch::command(*chosen, QStringLiteral(CENTINELA_SCADA_HOST),
                                            found.site->port, user, DialogUser::readPass());
    if (const auto failure = Launch::run(command)) {
        reportFailure(*failure);
        return launchFailed;
    }
    return EXIT_SUCCESS;
}

} // namespace

std::optional<int> carryOut(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Abre las vistas del sistema SCADA de la Universidad de Valdoria. Sin "
                       "opciones, muestra la ventana de Centinela."));
    const QCommandLineOption open(openName,
                                  QStringLiteral("Abre NOMBRE, un edificio o una aplicación, sin "
                                                 "mostrar la ventana. Basta el comienzo del "
                                                 "nombre, sin tildes ni mayúsculas."),
                                  QStringLiteral("NOMBRE"));
    const QCommandLineOption client(clientName,
                                    QStringLiteral("Con --abrir, el cliente: java (si no se dice "
                                                   "otro) o html5."),
                                    QStringLiteral("CLIENTE"), QStringLiteral("java"));
    const QCommandLineOption list(QStringLiteral("lista"),
                                  QStringLiteral("Muestra los edificios y aplicaciones, con su "
                                                 "campus o grupo y su puerto."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("ayuda"), QStringLiteral("help")},
        QStringLiteral("Muestra esta ayuda."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Muestra la versión de Centinela."));
    parser.addOptions({open, client, list, help, version});

    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("Sobra «%1».").arg(parser.positionalArguments().first()));
    if (parser.isSet(help)) {
        // Qt's first line names the program by the path it was started with.
        const QString help = parser.helpText();
        tell(QStringLiteral("Uso: Centinela [opciones]") + help.mid(help.indexOf(u'\n'))
                 + QStringLiteral("\nEjemplos:\n  Centinela --abrir química\n"
                                  "  Centinela --abrir \"nexo 1\" --cliente html5\n\n"
                                  "Estado de salida: 0 si se abrió, %1 si no se pudo abrir el "
                                  "cliente, %2 si la orden no es válida.")
                       .arg(launchFailed)
                       .arg(usageError),
             Platform::Stream::Output);
        return EXIT_SUCCESS;
    }
    if (parser.isSet(version)) {
        tell(QStringLiteral("Centinela " CENTINELA_VERSION), Platform::Stream::Output);
        return EXIT_SUCCESS;
    }
    if (parser.isSet(open) && parser.isSet(list))
        return usage(QStringLiteral("--abrir y --lista no van juntas."));
    if (parser.isSet(client) && !parser.isSet(open))
        return usage(QStringLiteral("--cliente solo va con --abrir."));
    if (parser.isSet(list)) {
        tell(listing(), Platform::Stream::Output);
        return EXIT_SUCCESS;
    }
    if (parser.isSet(open))
        return Arguments::open(parser.value(open), parser.value(client));
    return std::nullopt;
}

QStringList forOpening(const Site &site, Launch::Client client)
{
    return {QStringLiteral("--") + openName, site.name, QStringLiteral("--") + clientName,
            clients.key(client)};
}

} // namespace Arguments
