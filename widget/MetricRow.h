// One row of the large widgets: symbol, name, value and a small bar.
#pragma once

#include "widget/Metric.h"
#include "widget/WidgetPalette.h"

#include <QRectF>

class QPainter;

namespace orbistat::widget {

struct MetricRow {
    Metric metric;

    static constexpr double spacing = 10.0;
    static constexpr double symbolFrameWidth = 22.0;
    static constexpr double symbolPointSize = 14.0;
    static constexpr double namePointSize = 13.0;
    static constexpr double valuePointSize = 12.0;
    static constexpr double barWidth = 34.0;
    static constexpr double barHeight = 12.0;
    static constexpr double minimumFill = 5.0;
    static constexpr double barTrackOpacity = 0.25;

    // Width of the bar's filled part: 34 × fraction but at least 5, and the
    // whole bar from a fraction of 1 up.
    static double barFillWidth(double fraction);

    struct Layout {
        QRectF symbol;
        QRectF name;
        QRectF value;
        QRectF bar;
        QRectF barFill;
    };
    Layout layout(const QRectF& frame) const;

    void draw(QPainter& painter, const QRectF& frame, const WidgetPalette& palette) const;
    // "CPU 32%"
    QString accessibilityLabel() const;
};

} // namespace orbistat::widget
