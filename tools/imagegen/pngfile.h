#pragma once

#include <QByteArray>
#include <QImage>

// A PNG file of an RGB32 or ARGB32 image (colour type 2 or 6, 8 bits a channel), or an empty
// array for any other format.
QByteArray pngFile(const QImage &image);
