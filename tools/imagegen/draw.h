#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

// One palette for every image, so that logo, icons and background belong together.
namespace Ink {
inline const QColor navy {21, 48, 77};
inline const QColor navyDark {11, 30, 51};
inline const QColor teal {22, 151, 166};
inline const QColor tealLight {111, 208, 217};
inline const QColor red {198, 40, 40};
inline const QColor amber {240, 160, 48};
inline const QColor ochre {201, 138, 43};
inline const QColor green {46, 154, 87};
inline const QColor leaf {76, 166, 62};
inline const QColor blue {47, 109, 181};
inline const QColor purple {106, 76, 156};
inline const QColor orange {224, 102, 43};
inline const QColor magenta {176, 58, 138};
inline const QColor slate {90, 107, 125};
inline const QColor silver {196, 205, 214};
inline const QColor mist {232, 238, 244};
inline const QColor paper {250, 252, 254};
} // namespace Ink

// The fonts, loaded from files so that no machine's font configuration changes a pixel.
struct Fonts
{
    QString sans;
    QString condensed;
    bool load();
};
Fonts &fonts();

// Transparent canvas with antialiasing on.
QImage blankImage(int width, int height);

// Lets a picture be drawn in units of a fixed-height design box, whatever its pixel size:
// the design is `designHeight` tall and width * designHeight / height wide.
qreal designWidth(const QPainter &painter, qreal designHeight = 100);
void useDesignUnits(QPainter &painter, const QSize &pixels, qreal designHeight = 100);

// Glyph outlines rather than rendered text: unaffected by hinting and easy to outline.
QPainterPath textPath(const QString &text, const QString &family, bool bold,
                      qreal letterSpacing = 0);
// Text of a given pixel size, its baseline starting at the origin.
QPainterPath textLine(const QString &text, const QString &family, bool bold, qreal pixelSize);
// The path scaled to fit `box` (keeping its shape) and centred there, or aligned by `align`.
QPainterPath fitted(const QPainterPath &path, const QRectF &box,
                    Qt::Alignment align = Qt::AlignCenter);

// A filled shape with a dark rim: reads on light and dark menus alike.
void fillOutlined(QPainter &painter, const QPainterPath &path, const QBrush &fill, qreal rim,
                  const QColor &rimColor = Ink::navyDark);

QLinearGradient verticalGradient(const QRectF &rect, const QColor &top, const QColor &bottom);
QPainterPath roundedRect(const QRectF &rect, qreal radius);
QPainterPath ellipse(const QPointF &centre, qreal rx, qreal ry);
QPainterPath polygon(std::initializer_list<QPointF> points);

// A canvas of `size` in design units (see useDesignUnits); `draw` gets the painter and the
// design width.
template<typename Draw> QImage sketch(const QSize &size, Draw draw)
{
    QImage image = blankImage(size.width(), size.height());
    QPainter painter(&image);
    useDesignUnits(painter, size);
    draw(painter, designWidth(painter));
    return image;
}

// A flat colour with a slight sheen from the top.
QLinearGradient tone(const QColor &colour, const QRectF &rect);
// The outline of a stroked line, so that lines get a rim like shapes do.
QPainterPath strokeOf(const QPainterPath &path, qreal width);

QPointF onCircle(const QPointF &centre, qreal radius, qreal degrees);
// A dial from 180 (left) to 0 degrees (right), the last stretch marked as the alarm zone.
void drawGauge(QPainter &painter, const QPointF &centre, qreal radius, qreal needleDegrees);
