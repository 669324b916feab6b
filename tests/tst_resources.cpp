#include <QDirIterator>
#include <QIcon>
#include <QImageReader>
#include <QRegularExpression>
#include <QResource>
#include <QTest>

// The compiled-in images and archive: the exact tree the forms rely on, how each entry is
// stored, and that every picture decodes at the size it is shown at.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void collectionHoldsExactlyItsEntries();
    void picture_data();
    void picture();
    void iconFileIsTheClientPicture();
    void formsNameOnlyImagesOfTheCollection();
};

namespace {

const QString archive
    = QStringLiteral(":/C:/Program Files/Proveedor/Scada/bin/html/AppletScada.jar");

// Menu icons (0 x 0 here) are drawn to fit 32 x 32: sharp at 16 pixels and at 200 %.
const QList<std::pair<const char *, QSize>> pictures = {
    {"ARQSuperior.png", {}},
    {"ARQTecnica.png", {}},
    {"Biologia.png", {}},
    {"CENTINELA new2.png", {1190, 284}},
    {"CRAI.png", {}},
    {"Chip Centinela.png", {1411, 646}},
    {"Chip RB.png", {165, 161}},
    {"Client.ico", {150, 150}},
    {"Client.png", {150, 150}},
    {"Cloud Centinela.png", {1649, 892}},
    {"EOcre.png", {}},
    {"Edificio.png", {}},
    {"Escritorio.png", {780, 493}},
    {"Farmacia.png", {}},
    {"Fisica.png", {}},
    {"Fondo.png", {359, 188}},
    {"Idiomas.png", {}},
    {"Informatica.png", {}},
    {"Matematicas.png", {}},
    {"Molinar.png", {}},
    {"Nexo1.png", {}},
    {"Nexo2.png", {}},
    {"Pantalla.png", {778, 456}},
    {"Quimica.png", {}},
    {"TRANSP.png", {40, 40}},
    {"USER G.png", {100, 100}},
    {"off horizontal.png", {231, 112}},
    {"on horizontal.png", {231, 112}},
};

QString imagePath(const char *name)
{
    return QStringLiteral(":/imagenes/") + QString::fromUtf8(name);
}

} // namespace

void TestResources::collectionHoldsExactlyItsEntries()
{
    // Qt keeps resources of its own under ":/qt-project.org"; only our two trees count.
    QStringList found;
    for (const QString &top : {QStringLiteral(":/imagenes"), QStringLiteral(":/C:")}) {
        QDirIterator it(top, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
    }
    QStringList expected {archive};
    for (QString folder = QFileInfo(archive).path(); folder != QLatin1String(":/C:");
         folder = QFileInfo(folder).path())
        expected << folder;
    for (const auto &[name, size] : pictures)
        expected << imagePath(name);
    found.sort();
    expected.sort();
    QCOMPARE(found, expected);
}

void TestResources::picture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const auto &[name, size] : pictures)
        QTest::newRow(name) << imagePath(name) << size;
}

void TestResources::picture()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    // PNG files do not shrink further; only the icon file is worth compressing.
    const QResource resource(path);
    const bool icon = path.endsWith(QLatin1String(".ico"));
    QCOMPARE(resource.compressionAlgorithm(),
             icon ? QResource::ZlibCompression : QResource::NoCompression);

    QImageReader reader(path);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    if (size.isEmpty())
        QCOMPARE(qMax(image.width(), image.height()), 32);
    else
        QCOMPARE(image.size(), size);
    if (path.endsWith(QLatin1String("TRANSP.png"))) {
        QImage transparent(size, QImage::Format_ARGB32);
        transparent.fill(Qt::transparent);
        QCOMPARE(image.convertToFormat(QImage::Format_ARGB32), transparent);
    }
}

void TestResources::iconFileIsTheClientPicture()
{
    const QString path = QStringLiteral(":/imagenes/Client.ico");
    QCOMPARE(QResource(path).uncompressedSize(), qint64(93062));
    QVERIFY(QIcon(path).availableSizes().contains(QSize(150, 150)));
    // Row order, channel order and alpha of the icon's bitmap against the PNG. The icon reader
    // hands its pixels over premultiplied, so both are compared that way.
    constexpr auto format = QImage::Format_ARGB32_Premultiplied;
    QCOMPARE(QImage(path).convertToFormat(format),
             QImage(QStringLiteral(":/imagenes/Client.png")).convertToFormat(format));
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
