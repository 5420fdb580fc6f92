#include "widget/DevicesViews.h"

#include "widget/MetricLayouts.h"
#include "widget/MetricRow.h"

namespace orbistat::widget {

namespace {
std::vector<Metric> firstOf(const std::vector<Metric>& metrics, size_t count)
{
    return {metrics.begin(), metrics.begin() + static_cast<std::ptrdiff_t>(std::min(count, metrics.size()))};
}
} // namespace

std::vector<Metric> DevicesSmall::shown() const { return firstOf(metrics, maximumShown); }
std::vector<Metric> DevicesMedium::shown() const { return firstOf(metrics, maximumShown); }
std::vector<Metric> DevicesLarge::shown() const { return firstOf(metrics, maximumShown); }

void DevicesSmall::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    drawRingGrid(painter, bounds, shown(), palette);
}

void DevicesMedium::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    drawRingRow(painter, bounds, shown(), NameLines::one, palette);
}

void DevicesLarge::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    const auto rows = shown();
    const RowStack stack = rowStack(bounds, rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        MetricRow{rows[i]}.draw(painter, stack.rows[i], palette);
    drawDividers(painter, stack, palette);
}

} // namespace orbistat::widget
