// The three sizes of the devices widget: batteries of the machine and of
// its accessories.
#pragma once

#include "widget/Metric.h"
#include "widget/WidgetPalette.h"

#include <QRectF>
#include <vector>

class QPainter;

namespace orbistat::widget {

// The first four batteries as rings in a two-by-two grid.
struct DevicesSmall {
    std::vector<Metric> metrics;
    static constexpr size_t maximumShown = 4;
    std::vector<Metric> shown() const;
    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;
};

// The first four batteries as a row of rings, names on one line.
struct DevicesMedium {
    std::vector<Metric> metrics;
    static constexpr size_t maximumShown = 4;
    std::vector<Metric> shown() const;
    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;
};

// The first seven batteries as rows.
struct DevicesLarge {
    std::vector<Metric> metrics;
    static constexpr size_t maximumShown = 7;
    std::vector<Metric> shown() const;
    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;
};

} // namespace orbistat::widget
