// Fills a rounded rectangle, optionally with a border inside its edge, the
// fast way: the straight parts as plain rectangles (filled without
// antialiasing where they lie on whole device pixels, a plain memory fill)
// and only the four corners as curved, antialiased shapes. The card plates
// of the popover are large; as outlines they cost the rasterizer a pass over
// every row, as rectangles almost nothing. The pieces meet on whole points,
// which are whole pixels at every integer scale, so no seam shows.
#pragma once

#include <QColor>
#include <QRectF>
#include <optional>

class QPainter;

namespace orbistat::ui {

struct RoundedBorder {
    double width = 0.0;
    QColor color;
};

// The corner radius is limited to half the shorter side (a capsule). The
// border, when given, lies inside the edge; the fill covers the rest.
void fillRoundedRect(QPainter& painter, const QRectF& rect, double radius, const QColor& color,
                     const std::optional<RoundedBorder>& border = std::nullopt);

} // namespace orbistat::ui
