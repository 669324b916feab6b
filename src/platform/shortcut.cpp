// Desktop shortcuts: a shell link on Windows, a desktop entry elsewhere.
#include "platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

#ifdef Q_OS_WIN
#include "commandline.h"

#include <QScopeGuard>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#endif

namespace Platform {

namespace {

std::optional<QString> &installedDesktopFolder()
{
    static std::optional<QString> folder;
    return folder;
}

#ifdef Q_OS_WIN
// Through the shell's own IShellLink, so that the link is whatever this Windows makes.
bool writeShellLink(const QString &path, const Shortcut &shortcut)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const auto uninitialise = qScopeGuard([com] {
        if (SUCCEEDED(com))
            CoUninitialize();
    });
    IShellLinkW *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void **>(&link))))
        return false;
    const auto release = qScopeGuard([link] { link->Release(); });
    QStringList arguments;
    for (const QString &argument : shortcut.arguments)
        arguments << CommandLine::windowsArgument(argument);
    const auto wide = [](const QString &text) { return reinterpret_cast<LPCWSTR>(text.utf16()); };
    const QString program = QDir::toNativeSeparators(shortcut.program);
    IPersistFile *file = nullptr;
    const bool made = SUCCEEDED(link->SetPath(wide(program)))
        && SUCCEEDED(link->SetArguments(wide(arguments.join(u' '))))
        && SUCCEEDED(link->SetWorkingDirectory(
            wide(QDir::toNativeSeparators(shortcut.workingFolder))))
        && SUCCEEDED(link->SetIconLocation(wide(program), 0))
        && SUCCEEDED(link->SetDescription(wide(shortcut.description)))
        && SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)));
    if (!made)
        return false;
    const bool saved = SUCCEEDED(file->Save(wide(QDir::toNativeSeparators(path)), TRUE));
    file->Release();
    return saved;
}
#else
// One argument of an Exec key: quoted where it holds a reserved character, with the escapes
// that quoting needs, then escaped again as any string value is.
QString execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted = argument;
    quoted.replace(u'%', QStringLiteral("%%")); // a field code otherwise
    if (std::any_of(quoted.cbegin(), quoted.cend(), [](QChar c) { return reserved.contains(c); })
        || quoted.isEmpty()) {
        for (const QChar c : {u'\\', u'"', u'`', u'$'})
            quoted.replace(c, QString(u'\\') + c);
        quoted = u'"' + quoted + u'"';
    }
    return quoted.replace(u'\\', QStringLiteral("\\\\"));
}

// A string value of a desktop entry: one line.
QString entryValue(QString text)
{
    return text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
}

bool writeDesktopEntry(const QString &path, const Shortcut &shortcut)
{
    QStringList exec {execArgument(shortcut.program)};
    for (const QString &argument : shortcut.arguments)
        exec << execArgument(argument);
    const QString entry
        = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n"
                         "Comment=%2\nExec=%3\nIcon=es.uvaldoria.Centinela\n"
                         "Terminal=false\n")
              .arg(entryValue(shortcut.name), entryValue(shortcut.description), exec.join(u' '));
    QSaveFile file(path);
    // Desktops start only the entries that may be executed.
    return file.open(QIODevice::WriteOnly) && file.write(entry.toUtf8()) >= 0
        && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                               | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                               | QFile::ExeOther)
        && file.commit();
}
#endif

} // namespace

QString desktopFolder()
{
    // Qt reads the desktop from the user's XDG folders (xdg-user-dir DESKTOP) where there are.
    return installedDesktopFolder().value_or(
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

std::optional<QString> setDesktopFolder(std::optional<QString> folder)
{
    return std::exchange(installedDesktopFolder(), std::move(folder));
}

QString shortcutFileName(const QString &name)
{
#ifdef Q_OS_WIN
    return name + QStringLiteral(".lnk");
#else
    return name + QStringLiteral(".desktop");
#endif
}

bool isFileName(const QString &name)
{
    static const QString refused = QStringLiteral("\\/:*?\"<>|");
    if (name.trimmed().isEmpty() || std::any_of(name.cbegin(), name.cend(), [](QChar c) {
            return c.unicode() < 0x20 || refused.contains(c);
        }))
        return false;
#ifdef Q_OS_WIN
    // Windows opens the device, whatever follows the dot.
    static const QRegularExpression device(
        QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])( *$| *\\.)"),
        QRegularExpression::CaseInsensitiveOption);
    return !device.match(name).hasMatch();
#else
    return true;
#endif
}

bool writeShortcut(const QString &path, const Shortcut &shortcut)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
#ifdef Q_OS_WIN
    return writeShellLink(path, shortcut);
#else
    return writeDesktopEntry(path, shortcut);
#endif
}

} // namespace Platform
