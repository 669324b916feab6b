// Draws every image of imagenes/ into the folder given as the one argument.
#include "draw.h"
#include "icofile.h"
#include "images.h"
#include "pngfile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTextStream>

#include <cstdio>

namespace {

enum class Kind { Rgba, Rgb, Indexed };

struct Entry
{
    const char *name;
    int width;
    int height;
    QImage (*draw)(const QSize &);
    Kind kind = Kind::Rgba;
};

const Entry entries[] = {
    {"ARQSuperior.png", 295, 166, architectureSchool},
    {"ARQTecnica.png", 230, 166, buildingEngineering},
    {"Biologia.png", 196, 157, biology},
    {"CENTINELA new2.png", 1190, 284, banner},
    {"CRAI.png", 169, 131, library},
    {"Chip Centinela.png", 1411, 646, chipBrand},
    {"Chip RB.png", 165, 161, chipRB},
    {"Client.png", 150, 150, clientIcon},
    {"Cloud Centinela.png", 1649, 892, cloudBrand},
    {"EOcre.png", 139, 116, ochreBuilding},
    {"Edificio.png", 416, 345, building},
    {"Escritorio.png", 780, 493, desktop, Kind::Rgb},
    {"Farmacia.png", 201, 119, pharmacy},
    {"Fisica.png", 199, 162, physics},
    {"Fondo.png", 359, 188, background, Kind::Indexed},
    {"Idiomas.png", 176, 149, languages},
    {"Informatica.png", 490, 368, computing},
    {"Matematicas.png", 238, 155, mathematics},
    {"Molinar.png", 187, 137, windmill},
    {"Nexo1.png", 127, 101, nexus1},
    {"Nexo2.png", 141, 144, nexus2},
    {"Pantalla.png", 778, 456, screen},
    {"Quimica.png", 189, 143, chemistry},
    {"TRANSP.png", 40, 40, transparent},
    {"USER G.png", 100, 100, user},
    {"off horizontal.png", 231, 112, switchOff},
    {"on horizontal.png", 231, 112, switchOn},
};

// Exact palette of at most 256 colours, in a fixed order so that the bytes never change.
QImage toIndexed(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QList<QRgb> colours;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        colours.append(QList<QRgb>(row, row + rgb.width()));
    }
    std::sort(colours.begin(), colours.end());
    colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    if (colours.size() > 256)
        return {};
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(colours);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            out[x] = uchar(std::lower_bound(colours.cbegin(), colours.cend(), row[x])
                           - colours.cbegin());
    }
    return indexed;
}

bool writeFile(const QByteArray &data, const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

bool writePng(const QImage &image, const QString &path)
{
    // Full-colour images get rows that are cheap to decode; palettes are small either way.
    if (image.format() != QImage::Format_Indexed8) {
        const QByteArray png = pngFile(image);
        return !png.isEmpty() && writeFile(png, path);
    }
    QImageWriter writer(path, "png");
    // Smallest files; the PNG handler maps quality 0 to the strongest compression.
    writer.setQuality(0);
    if (!writer.write(image)) {
        std::fprintf(stderr, "imagegen: %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: imagegen OUTPUT-FOLDER\n");
        return 2;
    }
    if (!fonts().load()) {
        std::fprintf(stderr, "imagegen: the DejaVu fonts are missing (fonts-dejavu-core)\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const Entry &entry : entries) {
        const QString path = out.filePath(QString::fromUtf8(entry.name));
        QImage image = entry.draw(QSize(entry.width, entry.height));
        switch (entry.kind) {
        case Kind::Rgba:
            image = image.convertToFormat(QImage::Format_ARGB32);
            break;
        case Kind::Rgb:
            image = image.convertToFormat(QImage::Format_RGB32);
            break;
        case Kind::Indexed:
            image = toIndexed(image);
            break;
        }
        if (image.isNull()) {
            std::fprintf(stderr, "imagegen: %s: too many colours for a palette\n", entry.name);
            ok = false;
            continue;
        }
        ok = writePng(image, path) && ok;
        // The icon file carries the same picture as Client.png.
        if (QByteArray(entry.name) == "Client.png")
            ok = writeFile(icoFile(image), out.filePath(QStringLiteral("Client.ico"))) && ok;
    }
    return ok ? 0 : 1;
}
