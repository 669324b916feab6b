#include "credentialstore.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <utility>

namespace {

constexpr qint64 headerSize = 4;
constexpr quint32 nullMarker = 0xFFFFFFFF;

#ifdef Q_OS_WIN
// The folder's inherited access rules decide who may read the files.
constexpr bool ownerOnly = false;
#else
// The password is stored in clear: keep other local users out.
constexpr bool ownerOnly = true;
#endif

QFileDevice::Permissions ownerReadWrite()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

bool createEmptyFile(const QString &path)
{
    // Not through writeFile(): its commit waits for the disk, which is worth it only when
    // there is a value to keep. Whatever a crash or a full disk leaves of this file (nothing,
    // or a cut-off record) reads as the empty value it was to hold, and no older file can be
    // cut off, as an existing one is never opened.
    QFile file(path);
    constexpr auto newFile = QIODevice::WriteOnly | QIODevice::NewOnly;
    if (!(ownerOnly ? file.open(newFile, ownerReadWrite()) : file.open(newFile)))
        return false;
    const QByteArray bytes = CredentialRecord::encode(QStringLiteral(""));
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

namespace CredentialRecord {

QByteArray encode(const QString &value)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_5_6);
    stream << (value.isNull() ? QStringLiteral("") : value);
    return bytes;
}

QString read(QIODevice &device)
{
    // Not QDataStream: it believes the announced length and reserves memory for it, a
    // megabyte at a time, before finding out that the data is not there.
    const QByteArray header = device.read(headerSize);
    if (header.size() != headerSize)
        return {};
    const quint32 length = qFromBigEndian<quint32>(header.constData());
    if (length == nullMarker || length % 2 != 0 || length > device.size() - device.pos())
        return {};

    const QByteArray data = device.read(length);
    if (data.size() != qsizetype(length))
        return {};
    QString value(data.size() / 2, Qt::Uninitialized);
    qFromBigEndian<char16_t>(data.constData(), value.size(), value.data());
    return value;
}

QString readFile(const QString &path)
{
    // A folder has nothing to read, and opening a FIFO would wait for a writer.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return read(file);
}

bool writeFile(const QString &path, const QString &value)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // On the temporary file, before anything is written to it; the rename keeps the mode.
    // Where the file system has no modes this fails, and the value is stored all the same.
    if (ownerOnly)
        file.setPermissions(ownerReadWrite());
    const QByteArray bytes = encode(value);
    // Flushed here because Qt 6.4's commit() misses a failed final flush and would replace
    // the old file with a cut-off one.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    return file.commit();
}

} // namespace CredentialRecord

CredentialStore::CredentialStore(QString folder) : dataFolder(std::move(folder)) { }

QString CredentialStore::userFile() const
{
    return dataFolder + QStringLiteral("/ductls.dll");
}

QString CredentialStore::passFile() const
{
    return dataFolder + QStringLiteral("/dpctls.dll");
}

bool CredentialStore::folderExists() const
{
    return QDir(dataFolder).exists();
}

bool CredentialStore::createFolder() const
{
    if (!ownerOnly)
        return QDir(dataFolder).mkpath(QStringLiteral("."));
    const QDir root;
    return root.mkpath(QFileInfo(dataFolder).absolutePath())
        && root.mkdir(dataFolder,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString CredentialStore::readUser() const
{
    return CredentialRecord::readFile(userFile());
}

QString CredentialStore::readPass() const
{
    return CredentialRecord::readFile(passFile());
}

bool CredentialStore::save(const QString &user, const QString &pass) const
{
    const bool userSaved = CredentialRecord::writeFile(userFile(), user);
    const bool passSaved = CredentialRecord::writeFile(passFile(), pass);
    return userSaved && passSaved;
}

bool CredentialStore::createEmptyFiles() const
{
    const bool userCreated = createEmptyFile(userFile());
    const bool passCreated = createEmptyFile(passFile());
    return userCreated && passCreated;
}
