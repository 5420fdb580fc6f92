#include "widget/MetricRow.h"

#include "shared/drawing/AppFonts.h"
#include "widget/WidgetText.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orbistat::widget {

namespace {
QFont nameFont() { return textFont(MetricRow::namePointSize, QFont::Medium); }
QFont valueFont() { return textFont(MetricRow::valuePointSize); }
} // namespace

double MetricRow::barFillWidth(double fraction)
{
    if (fraction >= 1.0)
        return barWidth;
    if (std::isnan(fraction))
        return minimumFill;
    return std::max(barWidth * fraction, minimumFill);
}

MetricRow::Layout MetricRow::layout(const QRectF& frame) const
{
    Layout layout;
    const double top = frame.top();
    const double height = frame.height();
    const double midY = frame.center().y();

    layout.symbol = QRectF(frame.left(), top, std::min(symbolFrameWidth, frame.width()), height);
    layout.bar = QRectF(frame.right() - barWidth, midY - barHeight / 2, barWidth, barHeight);
    layout.barFill = QRectF(layout.bar.left(), layout.bar.top(), barFillWidth(metric.fraction), barHeight);

    // The value keeps its natural width unless it would take more than half
    // of what is left between the symbol and the bar.
    const double between = std::max(0.0, frame.width() - symbolFrameWidth - barWidth - 4 * spacing);
    const double valueWidth = std::min(textWidth(valueFont(), metric.value), between / 2);
    layout.value = QRectF(layout.bar.left() - spacing - valueWidth, top, valueWidth, height);

    // Name | space | flexible space | space | value: the name gets the rest
    // and is elided in it.
    const double nameLeft = layout.symbol.right() + spacing;
    const double nameRight = std::max(nameLeft, layout.value.left() - 2 * spacing);
    layout.name = QRectF(nameLeft, top, nameRight - nameLeft, height);
    return layout;
}

void MetricRow::draw(QPainter& painter, const QRectF& frame, const WidgetPalette& palette) const
{
    const Layout parts = layout(frame);
    const QColor color = palette.color(metric.color);

    drawSymbol(painter, parts.symbol, metric.symbol, symbolPointSize, palette.label);
    drawLine(painter, parts.name, metric.name, nameFont(), palette.label, Qt::AlignLeft | Qt::AlignVCenter);
    drawLine(painter, parts.value, metric.value, valueFont(), palette.label, Qt::AlignRight | Qt::AlignVCenter);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor track = color;
    track.setAlphaF(static_cast<float>(barTrackOpacity));
    painter.setBrush(track);
    painter.drawRoundedRect(parts.bar, barHeight / 2, barHeight / 2);
    painter.setBrush(color);
    painter.drawRoundedRect(parts.barFill, barHeight / 2, barHeight / 2);
    painter.restore();
}

QString MetricRow::accessibilityLabel() const
{
    return singleLine(metric.name) + QLatin1Char(' ') + metric.value;
}

} // namespace orbistat::widget
