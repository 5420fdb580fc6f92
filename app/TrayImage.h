// The pictures the tray item shows: the menu bar image of values handed to
// the tray as bytes, and the program's gauge symbol for when no module has
// anything to show.
#pragma once

#include "platform/StatusItem.h"
#include "shared/drawing/Palette.h"

#include <QImage>

namespace orbistat {

// The image as A, R, G, B bytes per pixel (not premultiplied), rows top to
// bottom: the order the tray protocols carry. A null image gives an empty
// pixmap.
StatusPixmap toStatusPixmap(const QImage& image);

// Brings `pixmap` to the pixels of `image` within `area`, converted as
// toStatusPixmap() does; outside it the pixmap keeps its bytes. A pixmap of
// another size is made anew from the whole image.
void convertPixels(const QImage& image, const QRect& area, StatusPixmap& pixmap);

// Whether two pixmaps of one size hold the same bytes within `area`.
bool samePixels(const StatusPixmap& a, const StatusPixmap& b, const QRect& area);

// The smallest rectangle holding every pixel in which two images of 32
// bits per pixel differ; null when none does. Images of another size or
// format differ everywhere: the whole of `a`.
QRect differingPixels(const QImage& a, const QImage& b);

// The gauge symbol, 22 points square, in the label colour of the
// appearance, at `pixelRatio` pixels per point.
QImage programSymbolImage(Appearance appearance, double pixelRatio);

} // namespace orbistat
