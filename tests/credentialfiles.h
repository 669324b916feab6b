#ifndef CREDENTIALFILES_H
#define CREDENTIALFILES_H

#include <QByteArray>
#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

// Helpers for tests that look at the credential files byte by byte.

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
inline QFile::Permissions ownerGroupOther(const QString &path)
{
    return QFile::permissions(path) & ~QFile::Permissions(0x0F00);
}

inline bool runningAsRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

#ifdef Q_OS_UNIX
// Makes every write that would grow a file beyond `bytes` fail, as a full disk does, even
// for root: the kernel answers EFBIG instead of delivering SIGXFSZ while the signal is ignored.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit previous {};
    void (*previousHandler)(int) = nullptr;
};
#endif

#endif // CREDENTIALFILES_H
