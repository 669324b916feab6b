#include "credentialstore.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdlib>

// Whatever a credential file holds, reading it gives a string that the bytes really carry.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer device(&bytes);
    if (!device.open(QIODevice::ReadOnly))
        std::abort();

    const QString value = CredentialRecord::read(device);
    if (value.isEmpty())
        return 0;
    // Four bytes of length, then two bytes per code unit: no more can come out of the file.
    if (qsizetype(size) < 4 + 2 * value.size())
        std::abort();
    // What was read is written back as the same record, so a save after a load is lossless.
    if (!bytes.startsWith(CredentialRecord::encode(value)))
        std::abort();
    return 0;
}
