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

// The gauge symbol, 22 points square, in the label colour of the
// appearance, at `pixelRatio` pixels per point.
QImage programSymbolImage(Appearance appearance, double pixelRatio);

} // namespace orbistat
