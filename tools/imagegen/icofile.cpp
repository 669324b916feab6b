#include "icofile.h"

#include <QtEndian>

namespace {

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

QByteArray icoFile(const QImage &source)
{
    // Straight alpha, as the DIB expects it.
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    Q_ASSERT(width <= 256 && height <= 256);
    const int maskStride = (width + 31) / 32 * 4;
    const quint32 pixelBytes = quint32(width) * quint32(height) * 4;
    const quint32 maskBytes = quint32(maskStride) * quint32(height);
    const quint32 dibBytes = 40 + pixelBytes + maskBytes;

    QByteArray out;
    // ICONDIR: reserved, type 1 (icon), one entry.
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    // ICONDIRENTRY; a size byte of 0 would stand for 256.
    out.append(char(width & 0xff));
    out.append(char(height & 0xff));
    out.append(char(0)); // no palette
    out.append(char(0));
    put16(out, 1); // planes
    put16(out, 32); // bits per pixel
    put32(out, dibBytes);
    put32(out, 6 + 16);
    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows together.
    put32(out, 40);
    put32(out, quint32(width));
    put32(out, quint32(height * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // BI_RGB
    put32(out, pixelBytes + maskBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    // Bottom-up rows of B, G, R, A.
    for (int y = height - 1; y >= 0; --y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.append(char(qBlue(row[x])));
            out.append(char(qGreen(row[x])));
            out.append(char(qRed(row[x])));
            out.append(char(qAlpha(row[x])));
        }
    }
    // The AND mask, bottom-up too: a set bit marks a fully transparent pixel.
    for (int y = height - 1; y >= 0; --y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        QByteArray bits(maskStride, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) == 0)
                bits[x / 8] = char(bits[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(bits);
    }
    return out;
}
