// Where the popover opens and how big it is. Pure functions of the screen's
// available area and the click, so the numbers can be checked without a
// display.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace orbistat {

namespace PopoverGeometry {

inline constexpr int width = 340;
inline constexpr double minimumHeight = 480.0;
// Room left between the popover and the screen's usable edges.
inline constexpr double screenMargin = 30.0;
// Without a screen to measure.
inline constexpr double heightWithoutScreen = 870.0;

// Available height − 30 (870 without a screen), rounded to the nearest
// integer, at least 480: 340 × 480 on a 400-point-high area, 340 × 970 on a
// 1000-point-high one.
QSize size(std::optional<double> availableHeight);

// The top-left corner for a popover of `size` opened by a click at `click`:
// at the click, moved back inside `available` where it would leave it (the
// top-left corner wins when the popover is larger than the area).
QPoint position(QPoint click, QSize size, const QRect& available);

} // namespace PopoverGeometry

} // namespace orbistat
