#include "widget/WidgetRenderer.h"

#include "shared/drawing/AppFonts.h"
#include "widget/WidgetText.h"
#include "widget/WidgetViews.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace orbistat::widget {

void paintWidget(QPainter& painter, WidgetKind kind, WidgetFamily family, const StatsEntry& entry,
                 Appearance appearance)
{
    const WidgetPalette& palette = widgetPalette(appearance);
    const QRectF frame(QPointF(0, 0), widgetSize(family));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(frame, widgetCornerRadius, widgetCornerRadius);
    painter.fillPath(shape, palette.base);
    painter.fillPath(shape, palette.containerFill);
    // Nothing a view draws may leave the widget.
    painter.setClipPath(shape);

    const QRectF content = frame.adjusted(widgetContentMargin, widgetContentMargin, -widgetContentMargin,
                                          -widgetContentMargin);
    if (kind == WidgetKind::stats)
        StatsWidgetView{family, entry}.draw(painter, content, palette);
    else
        DevicesWidgetView{family, entry}.draw(painter, content, palette);
    painter.restore();
}

QImage renderWidget(WidgetKind kind, WidgetFamily family, const StatsEntry& entry, Appearance appearance,
                    double scale)
{
    registerAppFonts();
    const QSizeF size = widgetSize(family) * scale;
    QImage image(static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height())),
                 QImage::Format_ARGB32_Premultiplied);
    // 72 dots per inch: one point is one logical pixel, whatever the screen.
    image.setDotsPerMeterX(pointDotsPerMeter);
    image.setDotsPerMeterY(pointDotsPerMeter);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintWidget(painter, kind, family, entry, appearance);
    painter.end();
    return image;
}

QStringList accessibilityLabels(WidgetKind kind, WidgetFamily family, const StatsEntry& entry)
{
    if (kind == WidgetKind::stats)
        return StatsWidgetView{family, entry}.accessibilityLabels();
    return DevicesWidgetView{family, entry}.accessibilityLabels();
}

} // namespace orbistat::widget
