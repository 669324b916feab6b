#ifndef SUPPORT_H
#define SUPPORT_H

// What the suites share: a home of their own, a recorder for command lines, a way to answer
// modal windows, file helpers, resource limits that make failures happen, and the sites.

#include "platform/platform.h"

#include <QApplication>
#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

// Points HOME and the XDG folders into a temporary folder of the test's own while it lives,
// so that the data folder, and anything else the toolkit writes, stays inside it.
class TestHome
{
public:
    TestHome()
    {
        for (const char *variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            qputenv(variable, QFile::encodeName(folder.path()) + '/' + variable);
    }
    QString path() const { return folder.path(); }

private:
    QTemporaryDir folder;
};

// Writes an executable script to `path`.
inline bool writeScript(const QString &path, const QByteArray &script)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(script) == script.size()
        && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A folder of the test's own scripts, first on PATH while this lives, so that a command line
// run through the real system() reaches them instead of the system's programs.
class FakeCommands
{
public:
    FakeCommands() : savedPath(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(folder.path()) + ':' + savedPath);
    }
    ~FakeCommands() { qputenv("PATH", savedPath); }
    FakeCommands(const FakeCommands &) = delete;
    FakeCommands &operator=(const FakeCommands &) = delete;

    bool isValid() const { return folder.isValid(); }
    QString filePath(const QString &name) const { return folder.filePath(name); }
    bool add(const QString &name, const QByteArray &script) const
    {
        return writeScript(filePath(name), script);
    }

private:
    QTemporaryDir folder;
    QByteArray savedPath;
};

// Captures every command line handed to the command processor while it lives.
class CommandRecorder
{
public:
    CommandRecorder()
        : previous(Platform::setCommandRunner([this](const QByteArray &command) {
              commands.append(command);
              return 0;
          }))
    { }
    ~CommandRecorder() { Platform::setCommandRunner(previous); }
    CommandRecorder(const CommandRecorder &) = delete;
    CommandRecorder &operator=(const CommandRecorder &) = delete;

    QByteArrayList commands;

private:
    Platform::CommandRunner previous;
};

// Runs `action` on the next visible window of type T, from inside the event loop that the
// window's exec() runs, so that a test can answer a window that blocks.
template<typename T> void whenVisible(std::function<void(T *)> action)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *found = qobject_cast<T *>(window);
            if (found && found->isVisible()) {
                poll->stop();
                action(found); // may itself open and answer further windows
                poll->deleteLater();
                return;
            }
        }
    });
    poll->start();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The mode bits of a file or folder, without Qt's bits for the current user.
inline QFile::Permissions modeOf(const QString &path)
{
    return QFile::permissions(path) & ~QFile::Permissions(0x0F00);
}

#ifdef Q_OS_UNIX
// Lowers one limit of the process while it lives. RLIMIT_FSIZE makes writes beyond the size
// fail as on a full disk, even for root (EFBIG, with SIGXFSZ ignored); RLIMIT_AS makes an
// allocation beyond the address space fail.
class ResourceLimit
{
public:
    ResourceLimit(int resource, rlim_t limit) : resource(resource)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(resource, &previous);
        rlimit lowered = previous;
        lowered.rlim_cur = limit;
        setrlimit(resource, &lowered);
    }
    ~ResourceLimit()
    {
        setrlimit(resource, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    ResourceLimit(const ResourceLimit &) = delete;
    ResourceLimit &operator=(const ResourceLimit &) = delete;

private:
    int resource;
    rlimit previous {};
    void (*previousHandler)(int) = nullptr;
};
#endif

// The sites as the users know them, written out by hand so that the tests do not trust the
// program's own tables.
struct Site
{
    const char *menu;
    const char *action;
    const char *text;
    int port;
};

inline constexpr std::array<Site, 32> siteCatalogue = {{
    {"Robledal", "actionArquitectura_T_cnica", "Arquitectura Técnica", 9081},
    {"Robledal", "actionArquitectura_Superior", "Arquitectura Superior", 9082},
    {"Robledal", "actionQu_mica", "Química", 9083},
    {"Robledal", "actionFarmacia", "Farmacia", 9084},
    {"Robledal", "actionF_sica", "Física", 9085},
    {"Robledal", "actionMatem_ticas", "Matemáticas", 9086},
    {"Robledal", "actionBiolog_a", "Biología", 9087},
    {"Robledal", "actionInform_tica", "Informática", 9088},
    {"Robledal", "actionEdificio_Ocre", "Edificio Ocre", 9089},
    {"Robledal", "actionInstituto_de_Idiomas", "Instituto de Idiomas", 9090},
    {"Robledal", "actionNEXO_1", "NEXO 1", 9091},
    {"Robledal", "actionNEXO_2", "NEXO 2", 9092},
    {"Robledal", "actionCRAI", "CRAI", 9097},
    {"Robledal", "actionMolinar", "Molinar", 9094},
    {"Norte", "actionMedicina", "Medicina", 9105},
    {"Norte", "actionDecanato", "Decanato", 9104},
    {"Norte", "actionAnat_mico", "Anatómico", 9106},
    {"Norte", "actionPabell_n_Docente", "Pabellón Docente", 9103},
    {"Norte", "actionOdontolog_a", "Odontología", 9102},
    {"Norte", "actionETSI", "ETSI", 9150},
    {"Norte", "actionEnfermer_a", "Enfermería", 9107},
    {"Campus Central", "actionRectorado", "Rectorado", 9121},
    {"Fundicion-Vallehondo", "actionEcon_micas_2", "Económicas", 9111},
    {"Fundicion-Vallehondo", "actionSicolog_a", "Psicología", 9112},
    {"Fundicion-Vallehondo", "actionTurismo_y_Finanzas", "Turismo y Finanzas", 9113},
    {"Periférico", "actionCentro_Internacional", "Centro Internacional", 9130},
    {"Periférico", "actionIngenier_a_Agron_mica", "Ingeniería Agronómica", 9096},
    {"Periférico", "actionAulario_Pinar", "Aulario Pinar", 9095},
    {"Periférico", "actionBrezal", "Brezal", 9120},
    {"Periférico", "actionBellas_Artes", "Bellas Artes", 9122},
    {"Otras apps", "actionAplicaci_n_superior", "Aplicación superior", 9600},
    {"Otras apps", "actionSeguridad", "Seguridad", 9500},
}};

#endif // SUPPORT_H
