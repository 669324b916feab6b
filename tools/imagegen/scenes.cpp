#include "draw.h"
#include "images.h"

#include <QList>

namespace {

// Ordered (Bayer) dither down to steps of `step` per channel: smooth to the eye, few colours.
QImage posterised(const QImage &source, int step)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const qreal threshold = (bayer[y % 4][x % 4] + 0.5) / 16.0;
            auto channel = [&](int value) {
                const int level = int(value / step + threshold);
                return qMin(255, level * step);
            };
            row[x] = qRgb(channel(qRed(row[x])), channel(qGreen(row[x])), channel(qBlue(row[x])));
        }
    }
    return image;
}

// An opaque canvas filled with a linear gradient from `from` to `to`, painter ready.
QImage gradientCanvas(const QSize &size, const QPointF &from, const QPointF &to,
                      const QGradientStops &stops)
{
    QImage image(size, QImage::Format_RGB32);
    QLinearGradient gradient(from, to);
    gradient.setStops(stops);
    QPainter painter(&image);
    painter.fillRect(image.rect(), gradient);
    return image;
}

int colourCount(const QImage &image)
{
    QList<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        colours.append(QList<QRgb>(row, row + image.width()));
    }
    std::sort(colours.begin(), colours.end());
    return int(std::unique(colours.begin(), colours.end()) - colours.begin());
}

QImage toggle(const QSize &size, bool on)
{
    return sketch(size, [on](QPainter &painter, qreal width) {
        const QRectF track(3, 3, width - 6, 94);
        const QColor colour = on ? Ink::green : QColor(150, 162, 175);
        fillOutlined(painter, roundedRect(track, 47),
                     verticalGradient(track, colour.darker(112), colour.lighter(112)), 2.2,
                     on ? QColor(24, 96, 54) : Ink::slate);
        const qreal knobX = on ? track.right() - 47 : track.left() + 47;
        // A soft shadow under the knob, then the knob.
        painter.setPen(Qt::NoPen);
        for (int i = 4; i > 0; --i) {
            painter.setBrush(QColor(0, 0, 0, 14));
            painter.drawEllipse(QPointF(knobX, 53), 38 + i * 1.5, 38 + i * 1.5);
        }
        const QRectF knob(knobX - 38, 12, 76, 76);
        fillOutlined(painter, ellipse(knob.center(), 38, 38),
                     verticalGradient(knob, Qt::white, QColor(214, 222, 232)), 1.2, Ink::slate);
        const QString label = on ? QStringLiteral("ON") : QStringLiteral("OFF");
        const QRectF space = on
            ? QRectF(track.left() + 22, 30, knob.left() - track.left() - 36, 40)
            : QRectF(knob.right() + 14, 30, track.right() - knob.right() - 36, 40);
        painter.setBrush(on ? QColor(Qt::white) : QColor(246, 248, 250));
        painter.drawPath(fitted(textPath(label, fonts().sans, true, 0.06), space));
    });
}

// One line of text; `anchor` is on the baseline, at the left, centre or right end.
void drawText(QPainter &painter, const QString &text, const QPointF &anchor, qreal pixelSize,
              const QColor &colour, Qt::Alignment align = Qt::AlignLeft, bool bold = true)
{
    const QPainterPath path
        = textLine(text, bold ? fonts().sans : fonts().condensed, bold, pixelSize);
    qreal x = anchor.x();
    if (align & Qt::AlignRight)
        x -= path.boundingRect().right();
    else if (align & Qt::AlignHCenter)
        x -= path.boundingRect().center().x();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path.translated(x, anchor.y()));
    painter.restore();
}

// The main window as it looks: background, black menu bar, logo, user button, radio buttons.
void drawMainWindow(QPainter &painter, const QRectF &frame)
{
    painter.save();
    painter.translate(frame.topLeft());
    const qreal w = frame.width();
    const qreal h = frame.height();
    for (int i = 6; i > 0; --i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 12));
        painter.drawRoundedRect(QRectF(-i, -i + 3, w + 2 * i, h + 2 * i), 6 + i, 6 + i);
    }
    painter.setBrush(QColor(246, 248, 250));
    painter.setPen(QPen(Ink::silver, 1));
    painter.drawRoundedRect(QRectF(0, 0, w, h), 6, 6);
    drawText(painter, QStringLiteral("Centinela"), QPointF(28, 16.5), 12, Ink::navyDark);
    const QImage icon = clientIcon(QSize(16, 16));
    painter.drawImage(QPointF(7, 4), icon);
    const QRectF body(1, 24, w - 2, h - 25);
    painter.drawImage(body, background(body.size().toSize()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(body.left(), body.top(), body.width(), 20));
    qreal x = body.left() + 8;
    for (const char *menu : {"Archivo", "Edición", "Campus", "Otras apps", "Ayuda"}) {
        const QString text = QString::fromUtf8(menu);
        drawText(painter, text, QPointF(x, body.top() + 14), 11, Qt::white, Qt::AlignLeft, false);
        x += textLine(text, fonts().condensed, false, 11).boundingRect().right() + 12;
    }
    painter.drawImage(QRectF(body.left() + 10, body.top() + 30, 150, 36), banner(QSize(600, 144)));
    painter.drawImage(QRectF(w - 44, body.top() + 32, 30, 30), user(QSize(60, 60)));
    const qreal row = h - 34;
    for (int i = 0; i < 2; ++i) {
        const qreal rx = body.left() + 12 + i * 112;
        painter.setPen(QPen(Ink::slate, 1));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(rx + 6, row + 6), 6, 6);
        if (i == 0) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(Ink::navyDark);
            painter.drawEllipse(QPointF(rx + 6, row + 6), 3, 3);
        }
        drawText(painter,
                 i == 0 ? QStringLiteral("Cliente JAVA") : QStringLiteral("Cliente HTML 5"),
                 QPointF(rx + 17, row + 10), 11, i == 0 ? QColor(255, 0, 0) : QColor(Qt::black));
    }
    const QRectF exit(w - 78, row - 4, 64, 20);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 30));
    painter.drawRoundedRect(exit, 3, 3);
    drawText(painter, QStringLiteral("Salir"), QPointF(exit.center().x(), exit.top() + 14), 11,
             Qt::white, Qt::AlignHCenter);
    painter.restore();
}

// A shortcut on the desktop: picture and a caption under it.
void drawShortcut(QPainter &painter, const QImage &picture, const QPointF &at,
                  const QString &caption)
{
    painter.drawImage(QRectF(at.x() + 12, at.y(), 48, 48), picture);
    QPainterPath path = textLine(caption, fonts().condensed, false, 12);
    path.translate(at.x() + 36 - path.boundingRect().center().x(), at.y() + 64);
    painter.setPen(QPen(QColor(0, 0, 0, 110), 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(path);
}

QImage folderIcon()
{
    return sketch(QSize(96, 96), [](QPainter &painter, qreal) {
        const QPainterPath back
            = roundedRect(QRectF(6, 16, 88, 70), 6).united(roundedRect(QRectF(6, 10, 36, 16), 5));
        fillOutlined(painter, back, Ink::ochre, 1.5, QColor(120, 76, 20));
        const QRectF front(6, 30, 88, 56);
        fillOutlined(painter, roundedRect(front, 6), tone(Ink::amber, front), 1.5,
                     QColor(120, 76, 20));
    });
}

// A flow line of the synoptic: a pipe with its arrow.
void drawPipe(QPainter &painter, const QPolygonF &route, const QColor &colour)
{
    painter.setPen(QPen(colour, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(route);
    const QPointF end = route.last();
    const QPointF from = route.at(route.size() - 2);
    const QPointF d = (end - from) / std::hypot(end.x() - from.x(), end.y() - from.y());
    const QPointF mid = (end + from) / 2;
    const QPointF n(-d.y(), d.x());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(polygon({mid + d * 8, mid - d * 6 + n * 7, mid - d * 6 - n * 7}));
}

void drawTank(QPainter &painter, const QRectF &box, qreal level, const QColor &colour)
{
    painter.setPen(QPen(Ink::silver, 2));
    painter.setBrush(QColor(24, 52, 80));
    painter.drawRoundedRect(box, 8, 8);
    const QRectF fill(box.left() + 4, box.bottom() - 4 - (box.height() - 8) * level,
                      box.width() - 8, (box.height() - 8) * level);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tone(colour, fill));
    painter.drawRoundedRect(fill, 5, 5);
}

} // namespace

QImage background(const QSize &size)
{
    const QRectF all(QPointF(0, 0), QSizeF(size));
    QImage image = gradientCanvas(
        size, all.topLeft(), all.bottomRight(),
        {{0, QColor(247, 250, 252)}, {0.55, QColor(232, 239, 246)}, {1, QColor(216, 227, 238)}});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A quiet dot grid, like the sheets the plant drawings are made on.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 120, 150, 40));
    for (int y = 6; y < size.height(); y += 12) {
        for (int x = 6; x < size.width(); x += 12)
            painter.drawRect(QRectF(x, y, 1, 1));
    }
    // Two faint sweeping bands across the lower right, away from the logo.
    for (int i = 0; i < 2; ++i) {
        QPainterPath band;
        band.moveTo(all.width() * 0.25, all.height() + 4);
        band.cubicTo(all.width() * 0.55, all.height() * (0.62 - i * 0.12), all.width() * 0.8,
                     all.height() * (0.58 - i * 0.14), all.width() + 4,
                     all.height() * (0.3 - i * 0.16));
        band.lineTo(all.width() + 4, all.height() + 4);
        band.closeSubpath();
        painter.setBrush(QColor(22, 151, 166, 10 + i * 4));
        painter.drawPath(band);
    }
    painter.end();
    for (int step = 1;; ++step) {
        const QImage few = posterised(image, step);
        if (colourCount(few) <= 256)
            return few;
    }
}

QImage desktop(const QSize &size)
{
    const QRectF all(QPointF(0, 0), QSizeF(size));
    QImage image = gradientCanvas(
        size, all.topLeft(), all.bottomLeft(),
        {{0, QColor(14, 36, 60)}, {0.6, QColor(22, 84, 112)}, {1, QColor(22, 140, 156)}});
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        QPainterPath hill;
        const qreal base = all.height() * (0.62 + i * 0.1);
        hill.moveTo(0, base);
        hill.cubicTo(all.width() * 0.3, base - 70 + i * 20, all.width() * 0.6, base + 40,
                     all.width(), base - 50 + i * 15);
        hill.lineTo(all.width(), all.height());
        hill.lineTo(0, all.height());
        hill.closeSubpath();
        painter.setBrush(QColor(111, 208, 217, 22 + i * 14));
        painter.drawPath(hill);
    }
    drawShortcut(painter, clientIcon(QSize(96, 96)), QPointF(18, 20), QStringLiteral("Centinela"));
    drawShortcut(painter, folderIcon(), QPointF(18, 100), QStringLiteral("Documentos"));
    drawMainWindow(painter, QRectF(260, 96, 359, 212));
    // The taskbar.
    const QRectF bar(0, all.height() - 40, all.width(), 40);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(10, 22, 36, 225));
    painter.drawRect(bar);
    painter.setBrush(Ink::teal);
    painter.drawEllipse(QPointF(24, bar.center().y()), 13, 13);
    drawEmblem(painter, QRectF(15, bar.top() + 10, 18, 20));
    painter.setBrush(QColor(255, 255, 255, 36));
    painter.drawRoundedRect(QRectF(50, bar.top() + 4, 34, 32), 4, 4);
    painter.drawImage(QRectF(55, bar.top() + 8, 24, 24), clientIcon(QSize(48, 48)));
    painter.setBrush(Ink::tealLight);
    painter.drawRect(QRectF(56, bar.bottom() - 3, 22, 3));
    painter.drawImage(QRectF(94, bar.top() + 8, 24, 24), folderIcon());
    drawText(painter, QStringLiteral("08:30"), QPointF(all.width() - 16, bar.top() + 25), 14,
             Qt::white, Qt::AlignRight);
    return image;
}

QImage screen(const QSize &size)
{
    QImage image = blankImage(size.width(), size.height());
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(size));
    const QRectF bezel = all.adjusted(2, 2, -2, -2);
    fillOutlined(painter, roundedRect(bezel, 18),
                 verticalGradient(bezel, QColor(44, 58, 74), QColor(14, 20, 28)), 1.5,
                 QColor(8, 12, 18));
    const QRectF glass = bezel.adjusted(16, 16, -16, -16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(12, 30, 50));
    painter.drawRect(glass);
    painter.save();
    painter.setClipRect(glass);
    painter.translate(glass.topLeft());
    const qreal w = glass.width();
    const qreal h = glass.height();
    // A synoptic of one building: header, plant, a dial, a trend and the alarm lamps.
    painter.setPen(QPen(QColor(255, 255, 255, 12), 1));
    for (qreal x = 0; x < w; x += 24)
        painter.drawLine(QPointF(x, 0), QPointF(x, h));
    for (qreal y = 0; y < h; y += 24)
        painter.drawLine(QPointF(0, y), QPointF(w, y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink::navy);
    painter.drawRect(QRectF(0, 0, w, 36));
    drawEmblem(painter, QRectF(10, 5, 24, 26));
    drawText(painter, QStringLiteral("CENTINELA"), QPointF(42, 25), 17, Qt::white);
    drawText(painter, QStringLiteral("Química · Climatización"), QPointF(170, 24), 14,
             Ink::tealLight);
    drawText(painter, QStringLiteral("08:30"), QPointF(w - 14, 25), 17, Qt::white, Qt::AlignRight);

    drawTank(painter, QRectF(34, 76, 70, 150), 0.62, Ink::teal);
    drawTank(painter, QRectF(34, 250, 70, 110), 0.35, Ink::amber);
    drawPipe(painter, QPolygonF({{104, 120}, {170, 120}, {170, 170}, {240, 170}}), Ink::teal);
    drawPipe(painter, QPolygonF({{104, 300}, {170, 300}, {170, 240}, {240, 240}}), Ink::amber);
    painter.setPen(QPen(Ink::silver, 2));
    painter.setBrush(QColor(24, 52, 80));
    painter.drawRoundedRect(QRectF(240, 140, 120, 130), 10, 10);
    drawText(painter, QStringLiteral("UTA-1"), QPointF(300, 168), 18, Ink::silver,
             Qt::AlignHCenter);
    drawGauge(painter, QPointF(300, 236), 44, 52);
    drawPipe(painter, QPolygonF({{360, 205}, {420, 205}}), Ink::tealLight);

    const QRectF trend(430, 70, w - 450, 170);
    painter.setPen(QPen(Ink::silver, 1.5));
    painter.setBrush(QColor(18, 42, 66));
    painter.drawRoundedRect(trend, 8, 8);
    drawText(painter, QStringLiteral("Temperatura de impulsión"), trend.topLeft() + QPointF(14, 22),
             13, Ink::silver);
    QPolygonF line;
    for (int i = 0; i <= 24; ++i) {
        const qreal x = trend.left() + 14 + i * (trend.width() - 28) / 24;
        const qreal wave = std::sin(i * 0.55) * 22 + std::sin(i * 1.7) * 7;
        line << QPointF(x, trend.center().y() + 14 - wave);
    }
    painter.setPen(QPen(Ink::tealLight, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
    painter.setPen(QPen(QColor(232, 72, 60), 1.5, Qt::DashLine));
    painter.drawLine(QPointF(trend.left() + 14, trend.top() + 44),
                     QPointF(trend.right() - 14, trend.top() + 44));

    const QColor lamps[] = {QColor(60, 200, 110), QColor(60, 200, 110), Ink::amber,
                            QColor(60, 200, 110), QColor(232, 72, 60)};
    const char *names[] = {"Bombas", "Caldera", "Filtros", "Ventilación", "Incendio"};
    for (int i = 0; i < 5; ++i) {
        const qreal x = 430 + i * (w - 450) / 5;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(lamps[i].red(), lamps[i].green(), lamps[i].blue(), 60));
        painter.drawEllipse(QPointF(x + 20, 282), 15, 15);
        painter.setBrush(lamps[i]);
        painter.drawEllipse(QPointF(x + 20, 282), 9, 9);
        drawText(painter, QString::fromUtf8(names[i]), QPointF(x + 20, 316), 11, Ink::silver,
                 Qt::AlignHCenter, false);
    }
    for (int i = 0; i < 8; ++i) {
        const qreal level = 0.3 + 0.6 * std::abs(std::sin(i * 1.3 + 0.4));
        const QRectF barBox(430 + i * 30, h - 40 - 50 * level, 18, 50 * level);
        painter.setPen(Qt::NoPen);
        painter.setBrush(tone(i % 3 == 2 ? Ink::amber : Ink::teal, barBox));
        painter.drawRect(barBox);
    }
    painter.restore();
    // The sheen of the glass.
    QLinearGradient sheen(glass.topLeft(), glass.bottomRight());
    sheen.setColorAt(0, QColor(255, 255, 255, 22));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawRect(glass);
    painter.setBrush(QColor(60, 200, 110));
    painter.drawEllipse(QPointF(bezel.right() - 22, bezel.bottom() - 8), 2.5, 2.5);
    return image;
}

QImage switchOn(const QSize &size)
{
    return toggle(size, true);
}

QImage switchOff(const QSize &size)
{
    return toggle(size, false);
}

QImage transparent(const QSize &size)
{
    return blankImage(size.width(), size.height());
}
