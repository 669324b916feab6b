#include "credentialstore.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

// Whatever a credential file holds, reading it gives a string that the bytes really carry.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly); // a buffer opens for reading whatever it holds
    const QString value = CredentialRecord::read(device);
    // What was read is written back as the same record, so a save after a load is lossless; and
    // as a prefix of the input, it cannot be longer than the bytes that carried it.
    if (!value.isEmpty() && !bytes.startsWith(CredentialRecord::encode(value)))
        std::abort();
    return 0;
}
