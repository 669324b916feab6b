#include "launch.h"

#include "commandline.h"
#include "platform/platform.h"

#include <QDir>
#include <QStringList>

namespace Launch {

namespace {

// What went wrong with a launch that did not start its client, and what the user can do.
QString failureText(Platform::LaunchOutcome outcome)
{
    switch (outcome) {
    case Platform::LaunchOutcome::ProgramNotFound: {
        const Platform::ProgramLookup lookup = Platform::programLookup();
        QStringList path;
        for (const QString &folder : lookup.pathFolders)
            path << QDir::toNativeSeparators(folder);
        return QStringLiteral("No se ha podido abrir el cliente JAVA: no se encuentra el "
                              "programa \"app\".\n\nAñada un acceso directo del cliente Java "
                              "llamado \"app\" en una de estas carpetas, que se buscan en este "
                              "orden:\n- la carpeta actual: %1\n- la carpeta de la aplicación "
                              "\"Centinela\": %2\n- las carpetas del PATH: %3")
            .arg(QDir::toNativeSeparators(lookup.currentFolder),
                 QDir::toNativeSeparators(lookup.programFolder), path.join(QStringLiteral(", ")));
    }
    case Platform::LaunchOutcome::NoBrowserOpener:
        return QStringLiteral("No se ha podido abrir el cliente HTML 5: no hay instalado ningún "
                              "programa que abra el navegador de internet (xdg-open). Instale el "
                              "paquete xdg-utils.");
    case Platform::LaunchOutcome::Started:
    case Platform::LaunchOutcome::Failed:
        break;
    }
    return QStringLiteral("No se ha podido abrir el cliente.");
}

} // namespace

QString command(Client client, const QString &host, int port, const QString &user,
                const QString &password)
{
    switch (client) {
    case Client::Java:
        return CommandLine::javaClient(host, port, user, password, Platform::commandProcessor());
    case Client::Html5:
        break;
    }
    return CommandLine::html5Client(host, port);
}

std::optional<QString> run(const QString &command)
{
    const Platform::CommandProcessor processor = Platform::commandProcessor();
    if (!processor.accepts(command)) {
        // Handed over, it would open nothing, and nobody would know why.
        return QStringLiteral("No se ha podido abrir el cliente: la orden supera los %1 "
                              "caracteres que admite el intérprete de órdenes. Use un usuario o "
                              "una contraseña más cortos.")
            .arg(processor.maxLineLength);
    }
    const auto outcome = Platform::launchOutcome(Platform::runCommand(command.toLocal8Bit()));
    if (outcome == Platform::LaunchOutcome::Started)
        return std::nullopt;
    return failureText(outcome);
}

} // namespace Launch
