#include "widget/WidgetViews.h"

#include "widget/MetricRow.h"
#include "widget/Ring.h"

#include <QPainter>

namespace orbistat::widget {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

QStringList ringLabels(const std::vector<Metric>& metrics)
{
    QStringList labels;
    for (const auto& metric : metrics)
        labels << Ring{metric}.accessibilityLabel();
    return labels;
}

QStringList rowLabels(const std::vector<Metric>& metrics)
{
    QStringList labels;
    for (const auto& metric : metrics)
        labels << MetricRow{metric}.accessibilityLabel();
    return labels;
}

} // namespace

StatsBody StatsWidgetView::body() const
{
    if (!isLive(entry))
        return staleMessage();
    switch (family) {
    case WidgetFamily::small:
        return SmallView{*entry.stats};
    case WidgetFamily::medium:
        return MediumView{*entry.stats};
    case WidgetFamily::large:
        break;
    }
    return LargeView{*entry.stats};
}

void StatsWidgetView::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    std::visit([&](const auto& view) { view.draw(painter, bounds, palette); }, body());
}

QStringList StatsWidgetView::accessibilityLabels() const
{
    return std::visit(Overloaded{
                          [](const MessageView& view) { return QStringList{view.text}; },
                          [](const SmallView& view) { return ringLabels(ringMetrics(view.stats)); },
                          [](const MediumView& view) { return ringLabels(ringMetrics(view.stats)); },
                          [](const LargeView& view) {
                              return rowLabels(allMetrics(view.stats))
                                     << LargeView::downloadText(view.stats.download)
                                     << LargeView::uploadText(view.stats.upload);
                          },
                      },
                      body());
}

DevicesBody DevicesWidgetView::body() const
{
    if (!isLive(entry))
        return staleMessage();
    auto metrics = deviceMetrics(*entry.stats);
    if (metrics.empty())
        return noBatteriesMessage();
    switch (family) {
    case WidgetFamily::small:
        return DevicesSmall{std::move(metrics)};
    case WidgetFamily::medium:
        return DevicesMedium{std::move(metrics)};
    case WidgetFamily::large:
        break;
    }
    return DevicesLarge{std::move(metrics)};
}

void DevicesWidgetView::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    std::visit([&](const auto& view) { view.draw(painter, bounds, palette); }, body());
}

QStringList DevicesWidgetView::accessibilityLabels() const
{
    return std::visit(Overloaded{
                          [](const MessageView& view) { return QStringList{view.text}; },
                          [](const DevicesSmall& view) { return ringLabels(view.shown()); },
                          [](const DevicesMedium& view) { return ringLabels(view.shown()); },
                          [](const DevicesLarge& view) { return rowLabels(view.shown()); },
                      },
                      body());
}

} // namespace orbistat::widget
