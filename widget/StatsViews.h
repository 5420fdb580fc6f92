// The three sizes of the system-stats widget.
#pragma once

#include "shared/SharedStats.h"
#include "widget/WidgetPalette.h"

#include <QRectF>

class QPainter;

namespace orbistat::widget {

// Up to four rings in a two-by-two grid.
struct SmallView {
    SharedStats stats;
    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;
};

// A row of three or four rings with their values and names.
struct MediumView {
    SharedStats stats;
    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;
};

// One row per metric, then the network row with both rates.
struct LargeView {
    SharedStats stats;

    static constexpr double networkSpacing = 10.0;
    static constexpr double networkRateSpacing = 1.0;
    static constexpr double networkRatePointSize = 11.0;

    // "↓ 1.2 MB/s" and "↑ 80 KB/s"
    static QString downloadText(double bytesPerSecond);
    static QString uploadText(double bytesPerSecond);

    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;
};

} // namespace orbistat::widget
