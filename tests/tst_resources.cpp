#include <QDirIterator>
#include <QImageReader>
#include <QRegularExpression>
#include <QResource>
#include <QTest>

namespace {

// Menu icons (no size here) are drawn to fit 32 x 32: sharp at 16 pixels and at 200 %.
// clang-format off
const std::pair<const char *, QSize> pictures[] = {
    {"ARQSuperior.png", {}}, {"ARQTecnica.png", {}}, {"Biologia.png", {}}, {"CRAI.png", {}},
    {"EOcre.png", {}}, {"Edificio.png", {}}, {"Farmacia.png", {}}, {"Fisica.png", {}},
    {"Idiomas.png", {}}, {"Informatica.png", {}}, {"Matematicas.png", {}}, {"Molinar.png", {}},
    {"Nexo1.png", {}}, {"Nexo2.png", {}}, {"Quimica.png", {}},
    {"CENTINELA new2.png", {1190, 284}}, {"Chip Centinela.png", {1411, 646}},
    {"Chip RB.png", {165, 161}}, {"Client.ico", {150, 150}}, {"Client.png", {150, 150}},
    {"Cloud Centinela.png", {1649, 892}}, {"Escritorio.png", {780, 493}},
    {"Fondo.png", {359, 188}}, {"Pantalla.png", {778, 456}}, {"TRANSP.png", {40, 40}},
    {"USER G.png", {100, 100}}, {"off horizontal.png", {231, 112}},
    {"on horizontal.png", {231, 112}},
};
// clang-format on

} // namespace

// The compiled-in images and archive: the exact tree the forms rely on, how each entry is
// stored, and that every picture decodes at the size it is shown at.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void collectionHoldsExactlyItsEntries()
    {
        // Qt keeps resources of its own under ":/qt-project.org"; only our two trees count.
        QStringList found;
        for (const char *top : {":/imagenes", ":/C:"}) {
            QDirIterator it(top, QDir::AllEntries | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext())
                found << it.next();
        }
        QStringList expected {":/C:/Program Files/Proveedor/Scada/bin/html/AppletScada.jar"};
        while (!expected.last().endsWith(QLatin1String(":/C:/Program Files")))
            expected << QFileInfo(expected.last()).path();
        for (const auto &[name, size] : pictures)
            expected << QStringLiteral(":/imagenes/") + name;
        found.sort();
        expected.sort();
        QCOMPARE(found, expected);
    }

    void picture_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (const auto &[name, size] : pictures)
            QTest::newRow(name) << QStringLiteral(":/imagenes/") + name << size;
    }

    void picture()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);

        // PNG files do not shrink further; only the icon file is worth compressing.
        const bool icon = path.endsWith(QLatin1String(".ico"));
        QCOMPARE(QResource(path).compressionAlgorithm(),
                 icon ? QResource::ZlibCompression : QResource::NoCompression);
        QImageReader reader(path);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(),
                 size.isEmpty() ? image.size().scaled(32, 32, Qt::KeepAspectRatio) : size);
        // The icon's bitmap is the client's picture: rows, channels, alpha. The icon reader hands
        // its pixels over premultiplied, so both are compared that way.
        constexpr auto format = QImage::Format_ARGB32_Premultiplied;
        if (icon)
            QCOMPARE(image.convertToFormat(format),
                     QImage(QStringLiteral(":/imagenes/Client.png")).convertToFormat(format));
    }

    void formsNameOnlyImagesOfTheCollection()
    {
        // A misspelt path loads as an empty icon without a word, so read what the forms ask for.
        QDirIterator forms(CENTINELA_SOURCE_DIR "/src", {"*.ui", "*.ui.in"}, QDir::Files,
                           QDirIterator::Subdirectories);
        const QRegularExpression imagePath(QStringLiteral(":/imagenes/[^<\")]+"));
        int paths = 0;
        while (forms.hasNext()) {
            QFile form(forms.next());
            QVERIFY(form.open(QIODevice::ReadOnly));
            for (const QRegularExpressionMatch &match : imagePath.globalMatch(form.readAll())) {
                QVERIFY2(QFileInfo(match.captured()).isFile(), qPrintable(match.captured()));
                ++paths;
            }
        }
        QVERIFY(paths > 0);
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
