// The colours the widgets are drawn with, in light and dark appearance: the
// program's shared palette for text and the severity red and orange, plus
// what only widgets have (their background, and their own severity green).
#pragma once

#include "shared/drawing/Palette.h"
#include "widget/Metric.h"

#include <QColor>

namespace orbistat::widget {

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
