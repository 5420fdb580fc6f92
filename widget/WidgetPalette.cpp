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

// The severity green is one fixed colour in both appearances.
QColor severityGreen()
{
    return QColor::fromRgbF(0.12f, 0.7f, 0.27f, 1.0f);
}

WidgetPalette makeLight()
{
    return {QColor(255, 255, 255),       QColor(118, 118, 128, 31), QColor(0, 0, 0),
            QColor(60, 60, 67, 153),     QColor(60, 60, 67, 74),    QColor(255, 59, 48),
            QColor(255, 149, 0),         severityGreen()};
}

WidgetPalette makeDark()
{
    return {QColor(28, 28, 30),          QColor(118, 118, 128, 61), QColor(255, 255, 255),
            QColor(235, 235, 245, 153),  QColor(84, 84, 88, 166),   QColor(255, 69, 58),
            QColor(255, 159, 10),        severityGreen()};
}

} // namespace

const WidgetPalette& widgetPalette(Appearance appearance)
{
    static const WidgetPalette light = makeLight();
    static const WidgetPalette dark = makeDark();
    return appearance == Appearance::dark ? dark : light;
}

} // namespace orbistat::widget
