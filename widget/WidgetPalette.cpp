#include "widget/WidgetPalette.h"

namespace orbistat::widget {

QColor WidgetPalette::color(MetricColor color) const
{
    switch (color) {
    case MetricColor::red:
        return red;
    case MetricColor::orange:
        return orange;
    case MetricColor::green:
        break;
    }
    return green;
}

namespace {

WidgetPalette make(Appearance appearance)
{
    const Palette& shared = palette(appearance);
    const bool dark = appearance == Appearance::dark;
    WidgetPalette colors;
    colors.base = dark ? QColor(28, 28, 30) : QColor(255, 255, 255);
    colors.containerFill = withAlpha(QColor(118, 118, 128), dark ? 0.24 : 0.12);
    colors.label = shared.label;
    colors.secondaryLabel = shared.secondaryLabel;
    colors.separator = shared.tertiaryLabel;
    colors.red = shared.red;
    colors.orange = shared.orange;
    // The widgets' green is one fixed colour in both appearances, deeper than
    // the palette's, so rings read well on the light grey background.
    colors.green = QColor::fromRgbF(0.12f, 0.7f, 0.27f, 1.0f);
    return colors;
}

} // namespace

const WidgetPalette& widgetPalette(Appearance appearance)
{
    static const WidgetPalette light = make(Appearance::light);
    static const WidgetPalette dark = make(Appearance::dark);
    return appearance == Appearance::dark ? dark : light;
}

} // namespace orbistat::widget
