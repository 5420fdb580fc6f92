#include "widget/Ring.h"

#include "widget/WidgetText.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orbistat::widget {

double Ring::arcFraction(double fraction)
{
    if (std::isnan(fraction))
        return minimumArc;
    return std::max(std::min(fraction, 1.0), minimumArc);
}

QRectF Ring::square(const QRectF& frame)
{
    const double side = std::max(0.0, std::min(frame.width(), frame.height()));
    return QRectF(frame.center().x() - side / 2, frame.center().y() - side / 2, side, side);
}

QRectF Ring::strokeRect(const QRectF& frame) const
{
    const QRectF box = square(frame);
    const double inset = std::min(lineWidth / 2, box.width() / 2);
    return box.adjusted(inset, inset, -inset, -inset);
}

void Ring::draw(QPainter& painter, const QRectF& frame, const WidgetPalette& palette) const
{
    const QRectF box = square(frame);
    if (box.width() <= 0)
        return;
    const QRectF circle = strokeRect(frame);
    const QColor color = palette.color(metric.color);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);

    QColor track = color;
    track.setAlphaF(static_cast<float>(trackOpacity));
    painter.setPen(QPen(track, lineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawEllipse(circle);

    // Qt measures angles counter-clockwise from three o'clock in sixteenths
    // of a degree: start at the top (90°) and sweep clockwise (negative).
    const int span = -static_cast<int>(std::lround(arcFraction(metric.fraction) * 360.0 * 16.0));
    painter.setPen(QPen(color, lineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(circle, 90 * 16, span);
    painter.restore();

    drawSymbol(painter, box, metric.symbol, box.width() * symbolScale, palette.label);
}

QString Ring::accessibilityLabel() const
{
    return singleLine(metric.name) + QLatin1Char(' ') + metric.value;
}

} // namespace orbistat::widget
