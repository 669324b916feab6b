#ifndef SUPPORT_H
#define SUPPORT_H

// What the suites share: a home, a recorder of command lines, answers to windows, file helpers.

#include "platform/platform.h"
#include "startup.h"

#include <QApplication>
#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

// Qt's own texts in Spanish, as the program has them: installed as each suite's application starts.
inline void installQtTranslation()
{
    Startup::installQtTranslation(*QCoreApplication::instance());
}
Q_COREAPP_STARTUP_FUNCTION(installQtTranslation)

// Points HOME, the XDG folders and so the data folder into a temporary folder of the test's own
// while it lives; on Windows the data folder directly: a real user's C:/tmpRB is never touched.
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

// Runs `action` on the next visible window of type T from inside the event loop of its exec(),
// until `owner` goes: a window that never came cannot be answered by a later test.
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

// Where keys typed into `window` go, once it is active.
inline QWidget *keyboardFocus(QWidget *window)
{
    return QTest::qWaitForWindowActive(window) ? window->focusWidget() : window;
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

inline bool writeScript(const QString &path, const QByteArray &script)
{
    return putFile(path, script)
        && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The mode bits of a file or folder, without Qt's bits for the current user.
inline QFile::Permissions modeOf(const QString &path)
{
    return QFile::permissions(path) & ~QFile::Permissions(0x0F00);
}

#endif // SUPPORT_H
