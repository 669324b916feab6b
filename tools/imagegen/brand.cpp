#include "draw.h"
#include "images.h"

namespace {

// The emblem's shield, in a box 86 wide and 100 tall.
QPainterPath shield()
{
    QPainterPath path;
    path.moveTo(0, 12);
    path.cubicTo(15, 12, 30, 7, 43, 0);
    path.cubicTo(56, 7, 71, 12, 86, 12);
    path.lineTo(86, 48);
    path.cubicTo(86, 75, 66, 92, 43, 100);
    path.cubicTo(20, 92, 0, 75, 0, 48);
    path.closeSubpath();
    return path;
}

// The name, fitted into `box` from its top left; returns where it went.
QPainterPath drawWordmark(QPainter &painter, const QRectF &box, const QBrush &brush)
{
    const QPainterPath mark
        = fitted(textPath(QStringLiteral("CENTINELA"), fonts().condensed, true, 0.05), box,
                 Qt::AlignLeft | Qt::AlignTop);
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawPath(mark);
    return mark;
}

// A spaced-out line in capitals under the name, as wide as the name at most.
void drawCaption(QPainter &painter, const QString &text, qreal spacing, const QRectF &box,
                 const QBrush &brush)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawPath(
        fitted(textPath(text, fonts().sans, true, spacing), box, Qt::AlignLeft | Qt::AlignVCenter));
}

// Pins on all four sides of a square body, the body itself and its die.
void drawChip(QPainter &painter, const QRectF &body, int pins)
{
    const qreal pitch = body.width() / pins;
    const qreal length = body.width() * 0.11;
    const qreal thickness = pitch * 0.45;
    painter.save();
    painter.setPen(QPen(Ink::navyDark, thickness * 0.18));
    painter.setBrush(Ink::silver);
    for (int i = 0; i < pins; ++i) {
        const qreal along = (i + 0.5) * pitch - thickness / 2;
        painter.drawRoundedRect(
            QRectF(body.left() + along, body.top() - length, thickness, length * 1.2),
            thickness * 0.2, thickness * 0.2);
        painter.drawRoundedRect(
            QRectF(body.left() + along, body.bottom() - length * 0.2, thickness, length * 1.2),
            thickness * 0.2, thickness * 0.2);
        painter.drawRoundedRect(
            QRectF(body.left() - length, body.top() + along, length * 1.2, thickness),
            thickness * 0.2, thickness * 0.2);
        painter.drawRoundedRect(
            QRectF(body.right() - length * 0.2, body.top() + along, length * 1.2, thickness),
            thickness * 0.2, thickness * 0.2);
    }
    const qreal radius = body.width() * 0.07;
    fillOutlined(painter, roundedRect(body, radius),
                 verticalGradient(body, QColor(36, 72, 110), Ink::navyDark), body.width() * 0.012);
    const QRectF die = body.adjusted(body.width() * 0.08, body.width() * 0.08, -body.width() * 0.08,
                                     -body.width() * 0.08);
    painter.setPen(QPen(Ink::tealLight, body.width() * 0.014));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(die, radius * 0.6, radius * 0.6);
    painter.restore();
}

} // namespace

void drawEmblem(QPainter &painter, const QRectF &box)
{
    painter.save();
    const qreal scale = qMin(box.width() / 86, box.height() / 100);
    painter.translate(box.center() - QPointF(43, 50) * scale);
    painter.scale(scale, scale);
    const QPainterPath outer = shield();
    fillOutlined(painter, outer,
                 verticalGradient(QRectF(0, 0, 86, 100), QColor(38, 78, 118), Ink::navyDark), 1.5);
    // An inner rim in the accent colour.
    QTransform inset;
    inset.translate(43, 52);
    inset.scale(0.84, 0.84);
    inset.translate(-43, -50);
    painter.setPen(QPen(Ink::teal, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(inset.map(outer));
    drawGauge(painter, QPointF(43, 58), 27, 38);
    painter.restore();
}

void drawClientPicture(QPainter &painter, const QRectF &box)
{
    painter.save();
    const qreal scale = qMin(box.width(), box.height()) / 100;
    painter.translate(box.center() - QPointF(50, 50) * scale);
    painter.scale(scale, scale);
    // Stand first, so the bezel overlaps its neck.
    fillOutlined(painter, polygon({{42, 76}, {58, 76}, {61, 89}, {39, 89}}), Ink::slate, 1.2);
    fillOutlined(painter, roundedRect(QRectF(24, 87, 52, 7), 3.5),
                 verticalGradient(QRectF(24, 87, 52, 7), Ink::silver, Ink::slate), 1.2);
    const QRectF bezel(4, 8, 92, 70);
    fillOutlined(painter, roundedRect(bezel, 7),
                 verticalGradient(bezel, QColor(44, 70, 98), Ink::navyDark), 1.5);
    const QRectF glass(10, 14, 80, 56);
    painter.setPen(Qt::NoPen);
    painter.setBrush(verticalGradient(glass, QColor(34, 176, 190), QColor(14, 102, 128)));
    painter.drawRoundedRect(glass, 3, 3);
    // A plant outline behind the dial: what the program watches over.
    painter.setBrush(QColor(255, 255, 255, 70));
    painter.drawPath(polygon({{14, 70},
                              {14, 50},
                              {24, 50},
                              {24, 42},
                              {34, 42},
                              {34, 56},
                              {66, 56},
                              {66, 36},
                              {78, 36},
                              {78, 52},
                              {86, 52},
                              {86, 70}}));
    drawGauge(painter, QPointF(50, 56), 29, 40);
    painter.restore();
}

QImage banner(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        // A light plate: the splash floats over whatever the desktop shows.
        const QRectF plate(1.5, 1.5, width - 3, 97);
        painter.setPen(QPen(Ink::silver, 1.2));
        painter.setBrush(
            verticalGradient(plate, QColor(255, 255, 255, 246), QColor(236, 242, 248, 246)));
        painter.drawRoundedRect(plate, 14, 14);
        drawEmblem(painter, QRectF(7, 8, 70, 84));
        const qreal right = drawWordmark(painter, QRectF(86, 12, width - 98, 54), Ink::navy)
                                .boundingRect()
                                .right();
        painter.setBrush(Ink::red);
        painter.drawRoundedRect(QRectF(87, 71, right - 87, 3.2), 1.6, 1.6);
        drawCaption(painter, QStringLiteral("CONTROL DE INSTALACIONES"), 0.12,
                    QRectF(87, 79, right - 87, 12), Ink::slate);
    });
}

QImage chipBrand(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const QRectF body(14, 17, 66, 66);
        // Traces from four pins into the lettering.
        const qreal pitch = body.width() / 6;
        painter.setPen(QPen(Ink::teal, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Ink::teal);
        for (int pin = 1; pin <= 4; ++pin) {
            const qreal y = body.top() + (pin + 0.5) * pitch;
            painter.drawLine(QPointF(body.right() + 6, y), QPointF(body.right() + 17, y));
            painter.drawEllipse(QPointF(body.right() + 18, y), 1.5, 1.5);
        }
        drawChip(painter, body, 6);
        drawEmblem(painter, body.adjusted(13, 11, -13, -11));
        const QPainterPath mark
            = drawWordmark(painter, QRectF(104, 33, width - 110, 24), Ink::navy);
        drawCaption(painter, QStringLiteral("CHIP"), 0.4,
                    QRectF(105, 61, mark.boundingRect().width(), 8), Ink::teal);
    });
}

QImage cloudBrand(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2;
        // Three lobes over a flat base, tangent to it so that only the lobes meet in cusps.
        QPainterPath cloud = ellipse(QPointF(cx - 50, 68), 26, 26);
        cloud = cloud.united(ellipse(QPointF(cx + 2, 44), 36, 36));
        cloud = cloud.united(ellipse(QPointF(cx + 50, 66), 28, 28));
        QPainterPath base;
        base.addRect(QRectF(cx - 50, 60, 100, 34));
        cloud = cloud.united(base);
        fillOutlined(
            painter, cloud,
            verticalGradient(QRectF(0, 8, width, 86), QColor(52, 190, 202), QColor(16, 110, 136)),
            1.2, Ink::navy);
        drawEmblem(painter, QRectF(cx - 66, 46, 32, 38));
        const QPainterPath mark = drawWordmark(painter, QRectF(cx - 28, 54, 86, 18), Qt::white);
        drawCaption(painter, QStringLiteral("CLOUD"), 0.3,
                    QRectF(cx - 27, 76, mark.boundingRect().width(), 6),
                    QColor(255, 255, 255, 220));
    });
}

QImage clientIcon(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        drawClientPicture(painter, QRectF(0, 0, width, 100));
    });
}

QImage chipRB(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const QRectF body(width / 2 - 36, 14, 72, 72);
        drawChip(painter, body, 5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPath(fitted(textPath(QStringLiteral("RB"), fonts().sans, true, 0.02),
                                body.adjusted(16, 22, -16, -22)));
    });
}
