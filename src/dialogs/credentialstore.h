#ifndef CREDENTIALSTORE_H
#define CREDENTIALSTORE_H

#include <QByteArray>
#include <QString>

QT_BEGIN_NAMESPACE
class QIODevice;
QT_END_NAMESPACE

// One credential file holds one string as QDataStream writes a QString: its length in bytes
// as a big-endian 32-bit number (FF FF FF FF for a null string), then its UTF-16 code units,
// big-endian. Existing installations and the Java launch rely on exactly these bytes.
namespace CredentialRecord {

// The bytes of one record. A null value is written as an empty one.
QByteArray encode(const QString &value);

// The string of the record at the device's position. Whatever the bytes, this gives a string
// or an empty value, and never reserves more memory than the device really holds.
QString read(QIODevice &device);

// As read(), for a file; a missing file, or anything that is not a regular file, is empty.
QString readFile(const QString &path);

// Replaces the file with the record of `value` in one step, so that a failed write leaves the
// file as it was. On POSIX systems the file is left readable by its owner only.
bool writeFile(const QString &path, const QString &value);

} // namespace CredentialRecord

// The user name and password files of one data folder.
class CredentialStore
{
public:
    explicit CredentialStore(QString folder);

    QString folder() const { return dataFolder; }
    QString userFile() const;
    QString passFile() const;

    bool folderExists() const;
    // Creates the folder with any missing parents; on POSIX systems the folder itself is the
    // owner's only.
    bool createFolder() const;

    QString readUser() const;
    QString readPass() const;
    // Writes both files, the second even when the first fails. True when both are stored.
    bool save(const QString &user, const QString &pass) const;
    // Creates both files holding empty values, the second even when the first fails; a file
    // that is already there is left alone. True when both are created.
    bool createEmptyFiles() const;

private:
    QString dataFolder;
};

#endif // CREDENTIALSTORE_H
