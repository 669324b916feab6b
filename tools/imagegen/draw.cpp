#include "draw.h"

#include <QFontDatabase>
#include <QtMath>

bool Fonts::load()
{
    const QString folder = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
    auto add = [&](const char *file) {
        const int id = QFontDatabase::addApplicationFont(folder + QLatin1String(file));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    };
    sans = add("DejaVuSans-Bold.ttf");
    add("DejaVuSans.ttf");
    condensed = add("DejaVuSansCondensed-Bold.ttf");
    add("DejaVuSansCondensed.ttf");
    return !sans.isEmpty() && !condensed.isEmpty();
}

Fonts &fonts()
{
    static Fonts loaded;
    return loaded;
}

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

qreal designWidth(const QPainter &painter, qreal designHeight)
{
    const QPaintDevice *device = painter.device();
    return device->width() * designHeight / device->height();
}

void useDesignUnits(QPainter &painter, const QSize &pixels, qreal designHeight)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(pixels.height() / designHeight, pixels.height() / designHeight);
}

QPainterPath textPath(const QString &text, const QString &family, bool bold, qreal letterSpacing)
{
    QFont font(family);
    // Large, so that whatever hinting the engine applies is lost in the scaling.
    font.setPixelSize(400);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    if (letterSpacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing * 400);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

QPainterPath textLine(const QString &text, const QString &family, bool bold, qreal pixelSize)
{
    QTransform scale;
    scale.scale(pixelSize / 400, pixelSize / 400);
    return scale.map(textPath(text, family, bold));
}

QPainterPath fitted(const QPainterPath &path, const QRectF &box, Qt::Alignment align)
{
    const QRectF bounds = path.boundingRect();
    const qreal scale = qMin(box.width() / bounds.width(), box.height() / bounds.height());
    const QSizeF size = bounds.size() * scale;
    qreal x = box.left() + (box.width() - size.width()) / 2;
    if (align & Qt::AlignLeft)
        x = box.left();
    else if (align & Qt::AlignRight)
        x = box.right() - size.width();
    qreal y = box.top() + (box.height() - size.height()) / 2;
    if (align & Qt::AlignTop)
        y = box.top();
    else if (align & Qt::AlignBottom)
        y = box.bottom() - size.height();
    QTransform transform;
    transform.translate(x, y);
    transform.scale(scale, scale);
    transform.translate(-bounds.left(), -bounds.top());
    return transform.map(path);
}

void fillOutlined(QPainter &painter, const QPainterPath &path, const QBrush &fill, qreal rim,
                  const QColor &rimColor)
{
    painter.save();
    // The rim goes outside the shape, so thin parts keep their colour.
    painter.setPen(QPen(rimColor, 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(path);
    painter.restore();
}

QLinearGradient verticalGradient(const QRectF &rect, const QColor &top, const QColor &bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath ellipse(const QPointF &centre, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QLinearGradient tone(const QColor &colour, const QRectF &rect)
{
    return verticalGradient(rect, colour.lighter(122), colour.darker(106));
}

QPainterPath strokeOf(const QPainterPath &path, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path).simplified();
}

QPointF onCircle(const QPointF &centre, qreal radius, qreal degrees)
{
    const qreal a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qCos(a), -radius * qSin(a));
}

void drawGauge(QPainter &painter, const QPointF &centre, qreal radius, qreal needleDegrees)
{
    painter.save();
    const qreal width = radius * 0.24;
    const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    auto arc = [&](qreal from, qreal to, const QColor &colour) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(ring, int(from * 16), int((to - from) * 16));
    };
    arc(180, 52, Qt::white);
    arc(52, 22, Ink::amber);
    arc(22, 0, QColor(232, 72, 60));
    painter.setPen(QPen(Qt::white, width * 0.35, Qt::SolidLine, Qt::RoundCap));
    for (int tick = 0; tick <= 6; ++tick) {
        const qreal degrees = 180 - tick * 30;
        painter.drawLine(onCircle(centre, radius * 0.62, degrees),
                         onCircle(centre, radius * 0.74, degrees));
    }
    const QPointF tip = onCircle(centre, radius * 0.92, needleDegrees);
    const QPointF side1 = onCircle(centre, radius * 0.13, needleDegrees + 90);
    const QPointF side2 = onCircle(centre, radius * 0.13, needleDegrees - 90);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(232, 72, 60));
    painter.drawPath(polygon({tip, side1, side2}));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, radius * 0.17, radius * 0.17);
    painter.restore();
}
