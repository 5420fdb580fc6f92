#include "shared/drawing/Palette.h"

#include <algorithm>

namespace orbistat {

namespace {

QColor rgba(int r, int g, int b, double alpha = 1.0)
{
    QColor color(r, g, b);
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

} // namespace

const Palette& palette(Appearance appearance)
{
    // The dark variants are a little lighter and more saturated so that they
    // keep their contrast on a dark panel.
    static const Palette light{
        rgba(255, 59, 48),
        rgba(255, 149, 0),
        rgba(52, 199, 89),
        rgba(175, 82, 222),
        rgba(0, 122, 255),
        rgba(0, 0, 0, 0.85),
        rgba(60, 60, 67, 0.60),
        rgba(60, 60, 67, 0.30),
        rgba(60, 60, 67, 0.18),
    };
    static const Palette dark{
        rgba(255, 69, 58),
        rgba(255, 159, 10),
        rgba(48, 209, 88),
        rgba(191, 90, 242),
        rgba(10, 132, 255),
        rgba(255, 255, 255, 0.85),
        rgba(235, 235, 245, 0.60),
        rgba(235, 235, 245, 0.30),
        rgba(235, 235, 245, 0.18),
    };
    return appearance == Appearance::dark ? dark : light;
}

Appearance appearanceFor(const QColor& background)
{
    return background.toHsl().lightnessF() < 0.5 ? Appearance::dark : Appearance::light;
}

QColor withAlpha(const QColor& color, double alpha)
{
    QColor result = color;
    result.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
    return result;
}

} // namespace orbistat
