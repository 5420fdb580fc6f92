// The colours the widgets are drawn with, in light and dark appearance.
#pragma once

#include "widget/Metric.h"

#include <QColor>

namespace orbistat::widget {

enum class Appearance { light, dark };

struct WidgetPalette {
    QColor base;            // the widget's own background
    QColor containerFill;   // tertiary fill laid over the base
    QColor label;           // primary foreground
    QColor secondaryLabel;  // secondary foreground
    QColor separator;       // dividers between rows
    QColor red;
    QColor orange;
    QColor green;

    QColor color(MetricColor color) const;
};

const WidgetPalette& widgetPalette(Appearance appearance);

} // namespace orbistat::widget
