#include "draw.h"
#include "images.h"

namespace {

// Rim width of the menu pictograms, in design units of a 100-unit height.
constexpr qreal rim = 2.4;

QPainterPath rect(qreal x, qreal y, qreal w, qreal h)
{
    QPainterPath path;
    path.addRect(x, y, w, h);
    return path;
}

// Window panes in a grid, cut as light squares into a façade.
void drawWindows(QPainter &painter, const QRectF &area, int columns, int rows, const QColor &glass)
{
    const qreal w = area.width() / columns;
    const qreal h = area.height() / rows;
    painter.setPen(Qt::NoPen);
    painter.setBrush(glass);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c)
            painter.drawRect(QRectF(area.left() + c * w + w * 0.2, area.top() + r * h + h * 0.18,
                                    w * 0.6, h * 0.6));
    }
}

QPainterPath bubble(const QRectF &box, bool tailLeft)
{
    QPainterPath path = roundedRect(box, box.height() * 0.3);
    const qreal x = tailLeft ? box.left() + box.width() * 0.22 : box.right() - box.width() * 0.22;
    const qreal tip = tailLeft ? x - box.width() * 0.14 : x + box.width() * 0.14;
    return path.united(
        polygon({{x - 9, box.bottom() - 4}, {x + 9, box.bottom() - 4}, {tip, box.bottom() + 14}}));
}

QImage nexusTile(const QSize &size, const QColor &colour, const QString &digit)
{
    return sketch(size, [&](QPainter &painter, qreal width) {
        const QRectF tile(4, 4, width - 8, 92);
        fillOutlined(painter, roundedRect(tile, 18), tone(colour, tile), rim);
        // Two linked rings: a hub between buildings.
        const qreal ring = qMin(tile.width() * 0.13, 11.0);
        const QPointF centre(tile.left() + tile.width() * 0.24, 50);
        painter.setPen(QPen(Qt::white, 5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre - QPointF(ring * 0.55, ring * 0.55), ring, ring);
        painter.drawEllipse(centre + QPointF(ring * 0.55, ring * 0.55), ring, ring);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPath(
            fitted(textPath(digit, fonts().sans, true),
                   QRectF(tile.left() + tile.width() * 0.5, 16, tile.width() * 0.42, 68)));
    });
}

} // namespace

QImage architectureSchool(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2;
        const qreal half = 78;
        QPainterPath temple = polygon({{cx - half, 32}, {cx + half, 32}, {cx, 6}});
        temple = temple.united(rect(cx - half + 4, 32, 2 * half - 8, 9));
        const int columns = 6;
        const qreal span = 2 * half - 20;
        for (int i = 0; i < columns; ++i) {
            const qreal x = cx - span / 2 + i * span / (columns - 1);
            temple = temple.united(rect(x - 6.5, 41, 13, 40));
        }
        temple = temple.united(rect(cx - half + 4, 81, 2 * half - 8, 7));
        temple = temple.united(rect(cx - half - 2, 88, 2 * half + 4, 7));
        fillOutlined(painter, temple, tone(Ink::purple, QRectF(0, 0, width, 100)), rim);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(cx, 22), 5, 5);
    });
}

QImage buildingEngineering(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2;
        QPainterPath dome;
        dome.moveTo(cx - 44, 70);
        dome.cubicTo(cx - 44, 30, cx - 24, 12, cx, 12);
        dome.cubicTo(cx + 24, 12, cx + 44, 30, cx + 44, 70);
        dome.closeSubpath();
        const QPainterPath hat = dome.united(roundedRect(QRectF(cx - 58, 66, 116, 16), 8));
        fillOutlined(painter, hat, tone(Ink::amber, QRectF(0, 10, width, 74)), rim);
        // The ridge along the crown, and the band above the brim.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 236, 190));
        painter.drawRoundedRect(QRectF(cx - 7, 13, 14, 53), 5, 5);
        painter.setBrush(Ink::ochre);
        painter.drawRect(QRectF(cx - 43, 60, 86, 6));
    });
}

QImage biology(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal x0 = width / 2 - 52;
        QPainterPath leaf;
        leaf.moveTo(x0 + 22, 80);
        leaf.cubicTo(x0 + 10, 42, x0 + 50, 8, x0 + 104, 8);
        leaf.cubicTo(x0 + 106, 58, x0 + 74, 92, x0 + 22, 80);
        const QPainterPath stem = strokeOf(
            [&] {
                QPainterPath line;
                line.moveTo(x0 + 26, 76);
                line.lineTo(x0 + 8, 94);
                return line;
            }(),
            7);
        fillOutlined(painter, leaf.united(stem), tone(Ink::leaf, QRectF(0, 8, width, 88)), rim);
        painter.setPen(QPen(QColor(226, 246, 214), 4.5, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        QPainterPath vein;
        vein.moveTo(x0 + 26, 76);
        vein.quadTo(x0 + 56, 52, x0 + 96, 16);
        painter.drawPath(vein);
        painter.setPen(QPen(QColor(226, 246, 214), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(x0 + 48, 58), QPointF(x0 + 46, 36));
        painter.drawLine(QPointF(x0 + 48, 58), QPointF(x0 + 72, 62));
        painter.drawLine(QPointF(x0 + 70, 39), QPointF(x0 + 70, 22));
        painter.drawLine(QPointF(x0 + 70, 39), QPointF(x0 + 90, 42));
    });
}

QImage library(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2;
        auto page = [&](qreal side, qreal drop, qreal reach) {
            QPainterPath path;
            path.moveTo(cx, 24 + drop);
            path.cubicTo(cx - side * 16, 14 + drop, cx - side * 36, 14 + drop, cx - side * reach,
                         20 + drop);
            path.lineTo(cx - side * reach, 78 + drop);
            path.cubicTo(cx - side * 36, 72 + drop, cx - side * 16, 72 + drop, cx, 82 + drop);
            path.closeSubpath();
            return path;
        };
        const QPainterPath cover = page(1, 8, 60).united(page(-1, 8, 60));
        fillOutlined(painter, cover, tone(Ink::red, QRectF(0, 20, width, 80)), rim);
        const QPainterPath pages = page(1, 0, 54).united(page(-1, 0, 54));
        fillOutlined(painter, pages, Ink::paper, rim);
        painter.setPen(QPen(Ink::slate, 3.2, Qt::SolidLine, Qt::RoundCap));
        for (int line = 0; line < 4; ++line) {
            const qreal y = 34 + line * 11;
            painter.drawLine(QPointF(cx - 44, y), QPointF(cx - 12, y + 2));
            painter.drawLine(QPointF(cx + 12, y + 2), QPointF(cx + 44, y));
        }
        painter.setPen(QPen(Ink::navyDark, 2.4));
        painter.drawLine(QPointF(cx, 26), QPointF(cx, 80));
    });
}

QImage ochreBuilding(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2;
        const QPainterPath roof = polygon({{cx - 54, 38}, {cx + 54, 38}, {cx, 6}});
        const QPainterPath body = rect(cx - 46, 36, 92, 58);
        fillOutlined(painter, body.united(roof), tone(Ink::ochre, QRectF(0, 6, width, 88)), rim);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(140, 82, 22));
        painter.drawPath(polygon({{cx - 54, 38}, {cx + 54, 38}, {cx, 6}}));
        drawWindows(painter, QRectF(cx - 42, 42, 84, 24), 4, 1, QColor(255, 244, 214));
        painter.setBrush(QColor(255, 244, 214));
        painter.drawRect(QRectF(cx - 38, 70, 16, 14));
        painter.drawRect(QRectF(cx + 22, 70, 16, 14));
        painter.setBrush(Ink::navyDark);
        painter.drawRoundedRect(QRectF(cx - 9, 68, 18, 26), 3, 3);
        painter.setBrush(QColor(255, 236, 190));
        painter.drawEllipse(QPointF(cx, 26), 5, 5);
    });
}

QImage pharmacy(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const QPointF centre(width * 0.3, 50);
        const QPainterPath cross = roundedRect(QRectF(centre.x() - 15, 8, 30, 84), 5)
                                       .united(roundedRect(QRectF(centre.x() - 42, 35, 84, 30), 5));
        fillOutlined(painter, cross, tone(Ink::green, QRectF(0, 8, width, 84)), rim);
        painter.setPen(QPen(QColor(220, 246, 228), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(roundedRect(QRectF(centre.x() - 8, 15, 16, 70), 2)
                             .united(roundedRect(QRectF(centre.x() - 35, 42, 70, 16), 2)));
        // A capsule beside the cross, split in red and white.
        painter.save();
        painter.translate(width * 0.76, 50);
        painter.rotate(-40);
        const QRectF pill(-42, -15, 84, 30);
        const QPainterPath capsule = roundedRect(pill, 15);
        fillOutlined(painter, capsule, Ink::paper, rim);
        painter.setClipRect(QRectF(-44, -17, 44, 34));
        painter.setPen(Qt::NoPen);
        painter.setBrush(tone(Ink::red, pill));
        painter.drawPath(capsule);
        painter.restore();
    });
}

QImage physics(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const QPointF centre(width / 2, 50);
        QPainterPath orbits;
        for (int i = 0; i < 3; ++i) {
            QTransform turn;
            turn.translate(centre.x(), centre.y());
            turn.rotate(i * 60 + 30);
            orbits = orbits.united(turn.map(strokeOf(ellipse({0, 0}, 46, 16), 7)));
        }
        fillOutlined(painter, orbits, tone(Ink::blue, QRectF(0, 0, width, 100)), rim);
        fillOutlined(painter, ellipse(centre, 10, 10), tone(Ink::red, QRectF(0, 40, width, 20)),
                     rim);
    });
}

QImage languages(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const QRectF first(4, 4, width * 0.56, 52);
        const QRectF second(width * 0.4, 34, width * 0.56, 50);
        fillOutlined(painter, bubble(first, true), tone(Ink::teal, first), rim);
        fillOutlined(painter, bubble(second, false), tone(Ink::red, second), rim);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPath(fitted(textPath(QStringLiteral("A"), fonts().sans, true),
                                first.adjusted(14, 10, -14, -10)));
        painter.drawPath(fitted(textPath(QString(QChar(0x0416)), fonts().sans, true),
                                second.adjusted(14, 10, -14, -10)));
    });
}

QImage computing(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2;
        const QRectF lid(cx - 46, 8, 92, 62);
        fillOutlined(painter, roundedRect(lid, 6),
                     verticalGradient(lid, QColor(44, 70, 98), Ink::navyDark), rim);
        const QRectF glass = lid.adjusted(6, 6, -6, -6);
        painter.setPen(Qt::NoPen);
        painter.setBrush(verticalGradient(glass, QColor(34, 176, 190), QColor(14, 102, 128)));
        painter.drawRoundedRect(glass, 2, 2);
        painter.setBrush(Qt::white);
        painter.drawPath(fitted(textPath(QStringLiteral("</>"), fonts().sans, true),
                                glass.adjusted(12, 10, -12, -10)));
        const QPainterPath base
            = polygon({{cx - 54, 72}, {cx + 54, 72}, {cx + 64, 88}, {cx - 64, 88}});
        fillOutlined(painter, base,
                     verticalGradient(QRectF(0, 72, width, 16), Ink::silver, Ink::slate), rim);
        painter.setBrush(Ink::navyDark);
        painter.drawRoundedRect(QRectF(cx - 12, 80, 24, 4), 2, 2);
    });
}

QImage mathematics(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const QPainterPath pi = fitted(textPath(QString(QChar(0x03C0)), fonts().sans, true),
                                       QRectF(8, 12, width * 0.5, 80));
        fillOutlined(painter, pi, tone(Ink::orange, QRectF(0, 12, width, 80)), rim);
        const qreal x = width * 0.62;
        // Plus and times, the two marks that are plain at any size.
        QPainterPath plus = roundedRect(QRectF(x + 8, 10, 10, 34), 2)
                                .united(roundedRect(QRectF(x - 4, 22, 34, 10), 2));
        QTransform turn;
        turn.translate(x + 13, 72);
        turn.rotate(45);
        turn.translate(-(x + 13), -72);
        const QPainterPath times = turn.map(roundedRect(QRectF(x + 8, 55, 10, 34), 2)
                                                .united(roundedRect(QRectF(x - 4, 67, 34, 10), 2)));
        fillOutlined(painter, plus.united(times), tone(Ink::navy, QRectF(0, 10, width, 80)), 1.5,
                     Ink::navyDark);
    });
}

QImage windmill(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2;
        QPainterPath hill;
        hill.moveTo(cx - 62, 96);
        hill.cubicTo(cx - 40, 78, cx + 40, 78, cx + 62, 96);
        hill.closeSubpath();
        fillOutlined(painter, hill, tone(Ink::leaf, QRectF(0, 80, width, 16)), rim);
        const QPainterPath tower
            = polygon({{cx - 16, 92}, {cx + 16, 92}, {cx + 10, 46}, {cx - 10, 46}});
        fillOutlined(painter, tower, Ink::paper, rim);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Ink::navyDark);
        painter.drawRoundedRect(QRectF(cx - 5, 78, 10, 14), 4, 4);
        painter.drawEllipse(QPointF(cx, 64), 3.5, 3.5);
        QPainterPath cap;
        cap.moveTo(cx - 13, 48);
        cap.cubicTo(cx - 13, 36, cx + 13, 36, cx + 13, 48);
        cap.closeSubpath();
        fillOutlined(painter, cap, tone(Ink::red, QRectF(0, 36, width, 12)), rim);
        // Four lattice sails in an X round the hub.
        const QPointF hub(cx, 42);
        QPainterPath sails;
        for (int i = 0; i < 4; ++i) {
            QTransform turn;
            turn.translate(hub.x(), hub.y());
            turn.rotate(45 + i * 90);
            sails = sails.united(turn.map(rect(3, -1.8, 38, 3.6)));
            sails = sails.united(turn.map(rect(12, 1.8, 29, 9)));
        }
        fillOutlined(painter, sails, tone(Ink::navy, QRectF(0, 0, width, 80)), 1.6);
        painter.setPen(QPen(Ink::silver, 1.4));
        for (int i = 0; i < 4; ++i) {
            painter.save();
            painter.translate(hub);
            painter.rotate(45 + i * 90);
            for (qreal along = 19; along < 40; along += 7)
                painter.drawLine(QPointF(along, 2.5), QPointF(along, 10));
            painter.restore();
        }
        fillOutlined(painter, ellipse(hub, 4.5, 4.5), Ink::amber, 1.5);
    });
}

QImage nexus1(const QSize &size)
{
    return nexusTile(size, Ink::teal, QStringLiteral("1"));
}

QImage nexus2(const QSize &size)
{
    return nexusTile(size, Ink::magenta, QStringLiteral("2"));
}

QImage chemistry(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2 - 6;
        QPainterPath flask;
        flask.moveTo(cx - 10, 8);
        flask.lineTo(cx + 10, 8);
        flask.lineTo(cx + 10, 36);
        flask.lineTo(cx + 40, 84);
        flask.quadTo(cx + 44, 94, cx + 32, 94);
        flask.lineTo(cx - 32, 94);
        flask.quadTo(cx - 44, 94, cx - 40, 84);
        flask.lineTo(cx - 10, 36);
        flask.closeSubpath();
        fillOutlined(painter, flask, QColor(236, 246, 250), rim);
        // The liquid: the lower part of the flask.
        painter.save();
        painter.setClipRect(QRectF(0, 58, width, 42));
        painter.setPen(Qt::NoPen);
        painter.setBrush(tone(Ink::teal, QRectF(0, 58, width, 36)));
        painter.drawPath(flask);
        painter.restore();
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(cx - 8, 78), 4, 4);
        painter.drawEllipse(QPointF(cx + 10, 70), 3, 3);
        painter.drawEllipse(QPointF(cx + 4, 84), 2.5, 2.5);
        painter.setPen(QPen(Ink::navyDark, rim));
        painter.drawLine(QPointF(cx - 14, 8), QPointF(cx + 14, 8));
        // Bubbles rising from the neck.
        fillOutlined(painter, ellipse(QPointF(cx + 26, 22), 7, 7), Ink::tealLight, 1.8);
        fillOutlined(painter, ellipse(QPointF(cx + 40, 8), 5, 5), Ink::tealLight, 1.8);
    });
}

QImage building(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const qreal cx = width / 2;
        const QRectF tower(cx - 28, 6, 56, 88);
        const QRectF left(cx - 54, 38, 28, 56);
        const QRectF right(cx + 26, 50, 28, 44);
        fillOutlined(painter,
                     rect(left.x(), left.y(), left.width(), left.height())
                         .united(rect(right.x(), right.y(), right.width(), right.height())),
                     tone(Ink::blue.lighter(125), QRectF(0, 38, width, 56)), rim);
        fillOutlined(painter, rect(tower.x(), tower.y(), tower.width(), tower.height()),
                     tone(Ink::blue, tower), rim);
        const QColor glass(214, 236, 250);
        drawWindows(painter, QRectF(tower.left() + 4, tower.top() + 5, tower.width() - 8, 60), 3, 5,
                    glass);
        drawWindows(painter, left.adjusted(2, 4, -2, -16), 2, 3, glass);
        drawWindows(painter, right.adjusted(2, 4, -2, -12), 2, 2, glass);
        painter.setBrush(Ink::navyDark);
        painter.drawRect(QRectF(cx - 9, 76, 18, 18));
        painter.setBrush(glass);
        painter.drawRect(QRectF(cx - 6, 79, 5, 15));
        painter.drawRect(QRectF(cx + 1, 79, 5, 15));
    });
}

QImage user(const QSize &size)
{
    return sketch(size, [](QPainter &painter, qreal width) {
        const QPointF centre(width / 2, 50);
        const QPainterPath disc = ellipse(centre, 46, 46);
        fillOutlined(painter, disc,
                     verticalGradient(QRectF(0, 4, width, 92), QColor(58, 128, 196), Ink::navy), 2);
        painter.save();
        painter.setClipPath(disc);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(centre.x(), 38), 17, 17);
        QPainterPath shoulders;
        shoulders.moveTo(centre.x() - 36, 100);
        shoulders.cubicTo(centre.x() - 36, 64, centre.x() - 20, 60, centre.x(), 60);
        shoulders.cubicTo(centre.x() + 20, 60, centre.x() + 36, 64, centre.x() + 36, 100);
        shoulders.closeSubpath();
        painter.drawPath(shoulders);
        painter.restore();
    });
}
