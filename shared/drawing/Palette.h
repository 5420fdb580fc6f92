// The fixed colours every drawing uses, one palette for light surroundings
// and one for dark. Desktop themes do not offer a dependable set of "system"
// colours (a tray icon cannot even ask the panel for its colour), so the
// program carries its own: the same reds and oranges in the tray, the popover
// and the widgets.
#pragma once

#include <QColor>

namespace orbistat {

enum class Appearance { light, dark };

struct Palette {
    QColor red;
    QColor orange;
    QColor green;
    QColor purple;
    QColor accent;
    // Text: primary, then the weaker levels for captions, placeholders and
    // separators. Each carries its own opacity.
    QColor label;
    QColor secondaryLabel;
    QColor tertiaryLabel;
    QColor quaternaryLabel;

    friend bool operator==(const Palette&, const Palette&) = default;
};

const Palette& palette(Appearance appearance);

// Dark text on light surroundings and the reverse: a background whose
// lightness is below the middle gets the dark palette.
Appearance appearanceFor(const QColor& background);

// The colour with its opacity replaced (not multiplied): the label colour at
// 0.6 opacity is the label's red, green and blue with alpha 0.6.
QColor withAlpha(const QColor& color, double alpha);

} // namespace orbistat
