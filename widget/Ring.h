// A ring gauge: a faint full circle and, over it, an arc from the top
// clockwise for the metric's fraction, with the metric's symbol inside.
#pragma once

#include "widget/Metric.h"
#include "widget/WidgetPalette.h"

#include <QRectF>

class QPainter;

namespace orbistat::widget {

struct Ring {
    Metric metric;
    double lineWidth = 6.0;

    // Share of the circle the arc covers: the fraction limited to 0–1, and
    // never less than a dot (0.015) so an idle metric still shows where the
    // arc starts.
    static double arcFraction(double fraction);
    static constexpr double minimumArc = 0.015;
    static constexpr double trackOpacity = 0.22;
    static constexpr double symbolScale = 0.32;

    // The square the ring is drawn in: side the smaller of the frame's width
    // and height, centred in the frame.
    static QRectF square(const QRectF& frame);
    // The circle the strokes follow: inset by half the line width so the
    // stroke stays inside the square.
    QRectF strokeRect(const QRectF& frame) const;

    void draw(QPainter& painter, const QRectF& frame, const WidgetPalette& palette) const;
    // "CPU 32%"
    QString accessibilityLabel() const;
};

} // namespace orbistat::widget
