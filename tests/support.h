#ifndef SUPPORT_H
#define SUPPORT_H

// What the suites share: a home, a recorder of command lines, answers to windows, file helpers.

#include "platform/platform.h"

#include <QApplication>
#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>

// Points HOME and the XDG folders into a temporary folder of the test's own while it lives,
// so that the data folder, and anything else the toolkit writes, stays inside it. On Windows
// the data folder is put there directly: a real user's C:/tmpRB is never touched.
struct TestHome
{
    QTemporaryDir folder;
    TestHome()
    {
        for (const char *variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            qputenv(variable, QFile::encodeName(folder.path()) + '/' + variable);
#ifdef Q_OS_WIN
        Platform::setDataFolder(folder.path() + QStringLiteral("/tmpRB"));
#endif
    }
};

#ifdef Q_OS_WIN
#include <windows.h>

// Only under Wine (whose ntdll has this function) may a suite touch what is the user's.
inline bool underWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}
#endif

// Writes an executable script to `path`.
inline bool writeScript(const QString &path, const QByteArray &script)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(script) == script.size()
        && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Captures every command line handed to the command processor while it lives.
struct CommandRecorder
{
    QByteArrayList commands;
    const Platform::CommandRunner previous
        = Platform::setCommandRunner([this](const QByteArray &command) {
              commands.append(command);
              return 0;
          });
    CommandRecorder() = default;
    ~CommandRecorder() { Platform::setCommandRunner(previous); }
    Q_DISABLE_COPY(CommandRecorder)
};

// Runs `action` on the next visible window of type T, from inside the event loop that its
// exec() runs, so that a test can answer a window that blocks. Stops looking when `owner`
// goes, so that a window that never came cannot be answered by a later test.
template<typename T> void whenVisible(QObject *owner, std::function<void(T *)> action)
{
    auto *poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *found = qobject_cast<T *>(window); found && found->isVisible()) {
                poll->stop();
                poll->deleteLater();
                return action(found); // may itself open and answer further windows
            }
        }
    });
    poll->start(5);
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

#endif // SUPPORT_H
