#include "app/PopoverGeometry.h"

#include <algorithm>
#include <cmath>

namespace orbistat::PopoverGeometry {

QSize size(std::optional<double> availableHeight)
{
    double height = availableHeight ? *availableHeight - screenMargin : heightWithoutScreen;
    // A broken screen report (NaN, absurd sizes) must not make an unusable window.
    if (!std::isfinite(height))
        height = heightWithoutScreen;
    height = std::clamp(std::round(height), minimumHeight, 100000.0);
    return {width, static_cast<int>(height)};
}

QPoint position(QPoint click, QSize size, const QRect& available)
{
    if (!available.isValid())
        return click;
    const int x = std::max(available.left(), std::min(click.x(), available.right() + 1 - size.width()));
    const int y = std::max(available.top(), std::min(click.y(), available.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace orbistat::PopoverGeometry
