// The fonts every drawing uses, embedded in the program: Noto Sans for text
// (its digits share one advance in every weight, so numbers do not shift as
// they change) and Material Icons for symbols.
#pragma once

#include <QFont>
#include <QString>

namespace orbistat {

// Registers the embedded fonts with the application (once; needs a
// QGuiApplication). Returns false when a font could not be loaded.
bool registerAppFonts();

QString textFontFamily();    // "Noto Sans"
QString symbolFontFamily();  // "Material Icons"

// Fonts at a point size, with hinting off so layout is the same on every
// screen. Regular and Bold are embedded; other weights are synthesised.
// Painting into a QImage of 72 dpi (dotsPerMeter 2835; QImage's default is
// 96 dpi, so set it) makes one point one logical pixel.
QFont textFont(double pointSize, QFont::Weight weight = QFont::Normal);
QFont symbolFont(double pointSize);

} // namespace orbistat
