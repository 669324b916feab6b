#include <QDirIterator>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QResource>
#include <QTest>

// The compiled-in images and archive: the exact tree the forms rely on, how each entry is
// stored, and that every picture decodes at the size the widgets were laid out for.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void treeHoldsExactlyTheListedEntries();
    void storage_data();
    void storage();
    void imageDecodesAtItsSize_data();
    void imageDecodesAtItsSize();
    void backgroundIsIndexedAndDesktopOpaque();
    void borderImageIsFullyTransparent();
    void iconFileCarriesTheClientPicture();
    void archiveIsAZip();
    void formsNameOnlyImagesOfTheCollection();
};

namespace {

const QString archive
    = QStringLiteral(":/C:/Program Files/Proveedor/Scada/bin/html/AppletScada.jar");

// Menu icons (0 x 0 here) are drawn to fit 32 x 32, each keeping its own shape.
constexpr int menu = 0;

struct Picture
{
    const char *name;
    int width;
    int height;
};

const Picture pictures[] = {
    {"ARQSuperior.png", menu, menu},  {"ARQTecnica.png", menu, menu},
    {"Biologia.png", menu, menu},     {"CENTINELA new2.png", 1190, 284},
    {"CRAI.png", menu, menu},         {"Chip Centinela.png", 1411, 646},
    {"Chip RB.png", 165, 161},        {"Client.ico", 150, 150},
    {"Client.png", 150, 150},         {"Cloud Centinela.png", 1649, 892},
    {"EOcre.png", menu, menu},        {"Edificio.png", menu, menu},
    {"Escritorio.png", 780, 493},     {"Farmacia.png", menu, menu},
    {"Fisica.png", menu, menu},       {"Fondo.png", 359, 188},
    {"Idiomas.png", menu, menu},      {"Informatica.png", menu, menu},
    {"Matematicas.png", menu, menu},  {"Molinar.png", menu, menu},
    {"Nexo1.png", menu, menu},        {"Nexo2.png", menu, menu},
    {"Pantalla.png", 778, 456},       {"Quimica.png", menu, menu},
    {"TRANSP.png", 40, 40},           {"USER G.png", 100, 100},
    {"off horizontal.png", 231, 112}, {"on horizontal.png", 231, 112},
};

QString imagePath(const char *name)
{
    return QStringLiteral(":/imagenes/") + QString::fromUtf8(name);
}

QImage load(const QString &path)
{
    QImageReader reader(path);
    return reader.read();
}

} // namespace

void TestResources::treeHoldsExactlyTheListedEntries()
{
    QStringList files;
    QStringList folders;
    // Qt keeps resources of its own under ":/qt-project.org"; only our two trees count.
    for (const QString &top : {QStringLiteral(":/imagenes"), QStringLiteral(":/C:")}) {
        QVERIFY2(QFileInfo(top).isDir(), qPrintable(top));
        folders << top;
        QDirIterator it(top, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            (entry.isDir() ? folders : files) << entry.filePath();
        }
    }
    QStringList expectedFiles {archive};
    for (const Picture &picture : pictures)
        expectedFiles << imagePath(picture.name);
    const QStringList expectedFolders {
        QStringLiteral(":/imagenes"),
        QStringLiteral(":/C:"),
        QStringLiteral(":/C:/Program Files"),
        QStringLiteral(":/C:/Program Files/Proveedor"),
        QStringLiteral(":/C:/Program Files/Proveedor/Scada"),
        QStringLiteral(":/C:/Program Files/Proveedor/Scada/bin"),
        QStringLiteral(":/C:/Program Files/Proveedor/Scada/bin/html"),
    };
    files.sort();
    folders.sort();
    expectedFiles.sort();
    QStringList sortedFolders = expectedFolders;
    sortedFolders.sort();
    QCOMPARE(files.size(), 29);
    QCOMPARE(files, expectedFiles);
    QCOMPARE(folders, sortedFolders);
    for (const QString &path : std::as_const(files)) {
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        QVERIFY2(QResource(path).isValid(), qPrintable(path));
    }
    // The root's own entries: ours besides whatever the toolkit registers.
    const QStringList root = QDir(QStringLiteral(":/")).entryList(QDir::AllEntries);
    QVERIFY(root.contains(QStringLiteral("imagenes")));
    QVERIFY(root.contains(QStringLiteral("C:")));
}

void TestResources::storage_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("algorithm");

    for (const Picture &picture : pictures) {
        const bool icon = QByteArray(picture.name) == "Client.ico";
        QTest::newRow(picture.name)
            << imagePath(picture.name)
            << int(icon ? QResource::ZlibCompression : QResource::NoCompression);
    }
    QTest::newRow("archive") << archive << int(QResource::NoCompression);
}

void TestResources::storage()
{
    QFETCH(QString, path);
    QFETCH(int, algorithm);

    const QResource resource(path);
    QVERIFY(resource.isValid());
    QCOMPARE(int(resource.compressionAlgorithm()), algorithm);
    if (algorithm == QResource::NoCompression)
        QCOMPARE(resource.uncompressedSize(), resource.size());
    else
        QVERIFY(resource.size() < resource.uncompressedSize());
}

void TestResources::imageDecodesAtItsSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    for (const Picture &picture : pictures)
        QTest::newRow(picture.name)
            << imagePath(picture.name) << QSize(picture.width, picture.height);
}

void TestResources::imageDecodesAtItsSize()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QImageReader reader(path);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    if (size.isEmpty()) // sharp in a menu at 16 pixels and at 200 %, and no larger
        QCOMPARE(qMax(image.width(), image.height()), 32);
    else
        QCOMPARE(image.size(), size);
}

void TestResources::backgroundIsIndexedAndDesktopOpaque()
{
    QCOMPARE(load(QStringLiteral(":/imagenes/Fondo.png")).format(), QImage::Format_Indexed8);
    QVERIFY(!load(QStringLiteral(":/imagenes/Escritorio.png")).hasAlphaChannel());
    // Every other picture keeps its alpha channel, so menus show through round the shapes.
    QVERIFY(load(QStringLiteral(":/imagenes/Edificio.png")).hasAlphaChannel());
}

void TestResources::borderImageIsFullyTransparent()
{
    const QImage image
        = load(QStringLiteral(":/imagenes/TRANSP.png")).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(40, 40));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(qAlpha(image.pixel(x, y)), 0);
    }
}

void TestResources::iconFileCarriesTheClientPicture()
{
    const QString path = QStringLiteral(":/imagenes/Client.ico");
    QCOMPARE(QResource(path).uncompressedSize(), qint64(93062));
    QVERIFY(QIcon(path).availableSizes().contains(QSize(150, 150)));
    // Row order, channel order and alpha of the icon's DIB against the PNG. The icon reader
    // hands its pixels over premultiplied, so both are compared that way.
    const QImage fromIcon = load(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage fromPng = load(QStringLiteral(":/imagenes/Client.png"))
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(fromIcon, fromPng);
}

void TestResources::archiveIsAZip()
{
    QFile file(archive);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(4), QByteArray("PK\x03\x04", 4));
}

void TestResources::formsNameOnlyImagesOfTheCollection()
{
    // A misspelt path loads as an empty icon without a word, so read what the forms ask for.
    QDirIterator forms(QStringLiteral(CENTINELA_SOURCE_DIR "/src"), {QStringLiteral("*.ui")},
                       QDir::Files, QDirIterator::Subdirectories);
    const QRegularExpression imagePath(QStringLiteral(":/imagenes/[^<\")]+"));
    int paths = 0;
    while (forms.hasNext()) {
        QFile form(forms.next());
        QVERIFY(form.open(QIODevice::ReadOnly));
        for (const QRegularExpressionMatch &match : imagePath.globalMatch(form.readAll())) {
            QVERIFY2(QFileInfo(match.captured()).isFile(),
                     qPrintable(form.fileName() + ": " + match.captured()));
            ++paths;
        }
    }
    QVERIFY(paths > 0);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
