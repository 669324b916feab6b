#ifndef FAKECOMMANDS_H
#define FAKECOMMANDS_H

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

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

    // Writes an executable script under `name`.
    bool add(const QString &name, const QByteArray &script) const
    {
        return writeScript(filePath(name), script);
    }

private:
    QTemporaryDir folder;
    QByteArray savedPath;
};

#endif // FAKECOMMANDS_H
