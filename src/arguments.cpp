#include "arguments.h"

#include "application.h"
#include "config.h"
#include "dialogs/dialogbuscar.h"
#include "dialogs/dialoguser.h"
#include "platform/platform.h"
#include "sites.h"

#include <QCommandLineParser>
#include <QHash>
#include <QMessageBox>

namespace Arguments {

namespace {

const QString openName = QStringLiteral("abrir");
const QString clientName = QStringLiteral("cliente");
const QHash<QString, Launch::Client> clients = {{QStringLiteral("java"), Launch::Client::Java},
                                                {QStringLiteral("html5"), Launch::Client::Html5}};
const QString listHint = QStringLiteral("«Centinela --lista» los muestra todos.");

// Qt's own options, which the application object that shows windows takes out of the
// arguments (QGuiApplication, QApplication and the X11 platform read them): those that take a
// value, then those that do not. Only -style and -stylesheet also take it after '='.
// clang-format off
const QStringList qtOptionsWithValue = {
    QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"),
    QStringLiteral("geometry"), QStringLiteral("qwindowtitle"), QStringLiteral("title"),
    QStringLiteral("qwindowicon"), QStringLiteral("icon"), QStringLiteral("session"),
    QStringLiteral("style"), QStringLiteral("stylesheet"), QStringLiteral("display"),
    QStringLiteral("name"), QStringLiteral("visual")};
const QStringList qtFlags = {
    QStringLiteral("reverse"), QStringLiteral("testability"), QStringLiteral("widgetcount"),
    QStringLiteral("qdevel"), QStringLiteral("qdebug"), QStringLiteral("nograb"),
    QStringLiteral("dograb")};
// clang-format on

// An option's name as written, without its dashes and any "=value"; empty for a value.
QString optionName(const QString &argument)
{
    if (!argument.startsWith(u'-'))
        return QString();
    return argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1).section(u'=', 0, 0);
}

// `arguments` without Qt's own options, which are read before any window exists.
QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList own = arguments.mid(0, 1);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const QString name = optionName(argument);
        if (argument.contains(u'=')) {
            if (name != QLatin1String("style") && name != QLatin1String("stylesheet"))
                own << argument;
        } else if (qtOptionsWithValue.contains(name)) {
            ++i; // and its value
        } else if (!qtFlags.contains(name)) {
            own << argument;
        }
    }
    return own;
}

// Where the user reads it: the console that started the program, else a message box, else
// (with neither a console nor a display) the standard error stream.
void tell(const QString &text, Platform::Stream stream)
{
    if (Platform::writeToConsole(text + u'\n', stream))
        return;
    if (!Application::withWindows()) {
        if (stream == Platform::Stream::Output)
            Platform::writeToConsole(text + u'\n', Platform::Stream::Error);
        return;
    }
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
    if (Application::withWindows())
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

// What is wrong with a name that opens no one site; nothing when it opens one.
QString nameProblem(const QString &name, const Sites::Lookup &found)
{
    if (found.ambiguous)
        return QStringLiteral("«%1» es el comienzo de varios nombres: %2.")
            .arg(name, names(found.closest));
    if (found.site)
        return QString();
    const QString similar = found.closest.isEmpty()
        ? QString()
        : QStringLiteral(" Los más parecidos: %1.").arg(names(found.closest));
    return QStringLiteral("Ningún edificio ni aplicación se llama «%1».%2").arg(name, similar);
}

// Opens `sites` in this order, all in `client`, and stops at the first that does not start:
// what failed for one fails for the next too.
int launch(const QList<const Site *> &sites, Launch::Client client)
{
    const QString user = DialogUser::readUser();
    if (client == Launch::Client::Java && user.isEmpty()) {
        reportFailure(QStringLiteral("No se ha podido abrir el cliente JAVA: no hay ningún "
                                     "usuario guardado.\n\nGuárdelo en la ventana de Centinela, "
                                     "en «Edición» › «Configurar usuario», o abra la vista en el "
                                     "cliente HTML 5 (--cliente html5)."));
        return launchFailed;
    }
    const QString password = DialogUser::readPass();
    for (const Site *site : sites) {
        const QString command = Launch::command(client, QStringLiteral(CENTINELA_SCADA_HOST),
                                                site->port, user, password);
        if (const auto failure = Launch::run(command)) {
            reportFailure(*failure);
            return launchFailed;
        }
    }
    return EXIT_SUCCESS;
}

// Every name is looked up before anything opens: one wrong name opens none of them.
int open(const QStringList &names, Launch::Client client)
{
    QList<const Site *> sites;
    QStringList problems;
    for (const QString &name : names) {
        const Sites::Lookup found = Sites::lookup(name);
        if (const QString problem = nameProblem(name, found); !problem.isEmpty())
            problems << problem;
        else if (!sites.contains(found.site)) // named twice, opened once
            sites << found.site;
    }
    if (!problems.isEmpty())
        return usage(problems.join(u'\n'), listHint);
    return launch(sites, client);
}

// The finder alone, for a desktop action or a keyboard shortcut: no splash, no main window.
int find(Launch::Client client)
{
    if (!Application::withWindows())
        return noDisplay();
    DialogBuscar finder;
    if (finder.exec() != QDialog::Accepted)
        return EXIT_SUCCESS;
    return launch(finder.chosenSites(), client);
}

// The option that a mistyped one most likely meant ("-abrir", "--abirr"), if one is near.
std::optional<QString> meantOption(const QStringList &arguments,
                                   const QList<QCommandLineOption> &options)
{
    QStringList known;
    for (const QCommandLineOption &option : options)
        known << option.names();
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (!argument.startsWith(u'-') || argument.size() < 2)
            continue;
        const QString word = optionName(argument);
        if (known.contains(word) && argument.startsWith(QLatin1String("--")))
            continue;
        if (std::all_of(word.cbegin(), word.cend(),
                        [&](QChar c) { return known.contains(QString(c)); }))
            continue; // short options together, as in -hv
        QString nearest;
        qsizetype fewest = 0;
        for (const QString &name : known) {
            const qsizetype edits = Sites::editDistance(word, name);
            if (name.size() > 1 && edits <= name.size() / 3
                && (nearest.isEmpty() || edits < fewest))
                std::tie(nearest, fewest) = std::pair(name, edits);
        }
        if (!nearest.isEmpty())
            return QStringLiteral("No existe la opción «%1». ¿Quería decir --%2?")
                .arg(argument.section(u'=', 0, 0), nearest);
    }
    return std::nullopt;
}

} // namespace

std::optional<int> carryOut(const QStringList &arguments)
{
    const QStringList own = withoutQtOptions(arguments);
    if (own.size() < 2)
        return std::nullopt;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Abre las vistas del sistema SCADA de la Universidad de Valdoria. Sin "
                       "opciones, muestra la ventana de Centinela."));
    const QCommandLineOption open(openName,
                                  QStringLiteral("Abre NOMBRE, un edificio o una aplicación, sin "
                                                 "mostrar la ventana. Basta el comienzo del "
                                                 "nombre, sin tildes ni mayúsculas. Puede darse "
                                                 "varias veces: se abren en ese orden."),
                                  QStringLiteral("NOMBRE"));
    const QCommandLineOption find(QStringLiteral("buscar"),
                                  QStringLiteral("Muestra solo el buscador: Intro abre lo "
                                                 "elegido, Escape cierra."));
    const QCommandLineOption client(clientName,
                                    QStringLiteral("Con --abrir o --buscar, el cliente: java (si "
                                                   "no se dice otro) o html5."),
                                    QStringLiteral("CLIENTE"), QStringLiteral("java"));
    const QCommandLineOption list(QStringLiteral("lista"),
                                  QStringLiteral("Muestra los edificios y aplicaciones, con su "
                                                 "campus o grupo y su puerto."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("ayuda"), QStringLiteral("help")},
        QStringLiteral("Muestra esta ayuda."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Muestra la versión de Centinela."));
    const QList<QCommandLineOption> options {open, find, client, list, help, version};
    parser.addOptions(options);

    if (!parser.parse(own)) {
        if (own.last() == QLatin1String("--") + clientName)
            return usage(parser.errorText() + QStringLiteral(" Los clientes: java, html5."));
        return usage(meantOption(own, options).value_or(parser.errorText()));
    }
    if (!parser.positionalArguments().isEmpty()) {
        const QString extra = parser.positionalArguments().first();
        const QString meant = Sites::lookup(extra).site
            ? QStringLiteral(" ¿Quería decir --abrir %1?").arg(extra)
            : QString();
        return usage(QStringLiteral("Sobra «%1».").arg(extra) + meant);
    }
    if (parser.isSet(help)) {
        // Qt's first line names the program by the path it was started with.
        const QString help = parser.helpText();
        tell(QStringLiteral("Uso: Centinela [opciones]") + help.mid(help.indexOf(u'\n'))
                 + QStringLiteral("\nEjemplos:\n  Centinela --abrir química\n"
                                  "  Centinela --abrir \"nexo 1\" --abrir física --cliente html5\n"
                                  "  Centinela --buscar\n\n"
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
    const int actions = int(parser.isSet(open)) + int(parser.isSet(find)) + int(parser.isSet(list));
    if (actions > 1)
        return usage(QStringLiteral("--abrir, --buscar y --lista no van juntas."));
    if (parser.isSet(client) && !parser.isSet(open) && !parser.isSet(find))
        return usage(QStringLiteral("--cliente solo va con --abrir o --buscar."));
    if (parser.isSet(list)) {
        tell(listing(), Platform::Stream::Output);
        return EXIT_SUCCESS;
    }
    if (actions == 0)
        return std::nullopt;
    QStringList chosen;
    for (const QString &value : parser.values(client))
        chosen << value.toLower();
    chosen.removeDuplicates();
    if (chosen.size() > 1)
        return usage(QStringLiteral("Todas se abren en un cliente: dé --cliente una sola vez."));
    const auto named = clients.constFind(parser.value(client).toLower());
    if (named == clients.cend()) {
        return usage(QStringLiteral("No existe el cliente «%1»: elija java o html5.")
                         .arg(parser.value(client)));
    }
    return parser.isSet(find) ? Arguments::find(*named)
                              : Arguments::open(parser.values(open), *named);
}

int noDisplay()
{
    // Nothing to show a window on, so the console is all there is.
    Platform::writeToConsole(
        QStringLiteral("Centinela no tiene ninguna pantalla en la que mostrar una ventana. Sin "
                       "ella abre las vistas con --abrir; «Centinela --ayuda» explica las "
                       "opciones.\n"),
        Platform::Stream::Error);
    return launchFailed;
}

QStringList forOpening(const QList<const Site *> &sites, Launch::Client client)
{
    QStringList arguments;
    for (const Site *site : sites)
        arguments << QStringLiteral("--") + openName << site->name;
    return arguments << QStringLiteral("--") + clientName << clients.key(client);
}

} // namespace Arguments
