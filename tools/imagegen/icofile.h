#pragma once

#include <QByteArray>
#include <QImage>

// A Windows icon file holding the one image as a 32-bit DIB with its AND mask: the form that
// every Windows version and the resource compiler read, unlike PNG-in-ICO.
QByteArray icoFile(const QImage &image);
