#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>

// Brand: the emblem and everything built around it.
void drawEmblem(QPainter &painter, const QRectF &box);
void drawClientPicture(QPainter &painter, const QRectF &box);
QImage banner(const QSize &size);
QImage chipBrand(const QSize &size);
QImage cloudBrand(const QSize &size);
QImage clientIcon(const QSize &size);
QImage chipRB(const QSize &size);

// Menu pictograms: bold shapes that still read at 16 pixels.
QImage architectureSchool(const QSize &size);
QImage buildingEngineering(const QSize &size);
QImage biology(const QSize &size);
QImage library(const QSize &size);
QImage ochreBuilding(const QSize &size);
QImage pharmacy(const QSize &size);
QImage physics(const QSize &size);
QImage languages(const QSize &size);
QImage computing(const QSize &size);
QImage mathematics(const QSize &size);
QImage windmill(const QSize &size);
QImage nexus1(const QSize &size);
QImage nexus2(const QSize &size);
QImage chemistry(const QSize &size);
QImage building(const QSize &size);
QImage user(const QSize &size);

// Larger pictures and the window background.
QImage background(const QSize &size);
QImage desktop(const QSize &size);
QImage screen(const QSize &size);
QImage switchOn(const QSize &size);
QImage switchOff(const QSize &size);
QImage transparent(const QSize &size);
