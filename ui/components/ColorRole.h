// The colours of the views by role rather than by value, so that a drawn
// element follows the appearance of the window it is shown in: a role is
// resolved against the light or dark palette only when it is painted.
#pragma once

#include "shared/drawing/Palette.h"

#include <QColor>

namespace orbistat::ui {

enum class ColorRole {
    primary,     // the label colour
    secondary,   // captions
    tertiary,    // small print
    quaternary,  // tracks and empty parts of bars
    accent,
    red,
    orange,
    green,
    purple,
};

QColor colorOf(ColorRole role, Appearance appearance);

// The colour with its opacity multiplied by `factor` (the label colour,
// itself slightly translucent, at 0.06 opacity for the card background).
QColor faded(const QColor& color, double factor);

// The colour seen where `top` (translucent) lies over an opaque `bottom`.
QColor over(const QColor& bottom, const QColor& top);

} // namespace orbistat::ui
