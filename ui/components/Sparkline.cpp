#include "ui/components/Sparkline.h"

#include "ui/Theme.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orbistat::ui {

namespace {

constexpr double lineWidth = 1.5;

// A reading that is no number counts as 0, like an absent one.
double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

int sign(double value)
{
    return (value > 0.0) - (value < 0.0);
}

} // namespace

Sparkline::Sparkline(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Sparkline::shapesChanged()
{
    cached_ = false;
    update();
}

void Sparkline::setValues(const std::vector<double>* values)
{
    values_ = values;
    shapesChanged();
}

void Sparkline::valuesChanged()
{
    shapesChanged();
}

void Sparkline::setColor(ColorRole color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

void Sparkline::setMaximum(std::optional<double> maximum)
{
    maximum_ = maximum;
    shapesChanged();
}

void Sparkline::setMinimumScale(double minimumScale)
{
    minimumScale_ = minimumScale;
    shapesChanged();
}

void Sparkline::setValueText(const QString& text)
{
    if (text == valueText_)
        return;
    valueText_ = text;
    notifyValueChanged(this, text);
}

double Sparkline::top() const
{
    if (maximum_ && std::isfinite(*maximum_) && *maximum_ > 0.0)
        return *maximum_;
    double largest = 0.0;
    if (values_) {
        // Over the values drawn: the newest 60.
        const size_t count = std::min(values_->size(), static_cast<size_t>(pointSlots));
        for (auto it = values_->end() - static_cast<std::ptrdiff_t>(count); it != values_->end(); ++it)
            largest = std::max(largest, finiteOrZero(*it));
    }
    const double result = std::max(largest, minimumScale_);
    // A scale of 0 (no values and no minimum) would divide by zero.
    return std::isfinite(result) && result > 0.0 ? result : 1.0;
}

QPainterPath Sparkline::linePath(QSizeF size) const
{
    QPainterPath path;
    if (!values_ || values_->empty())
        return path;
    // The newest 60 values: a longer vector than the monitor keeps would
    // otherwise run past the right edge.
    const size_t count = std::min(values_->size(), static_cast<size_t>(pointSlots));
    const auto first = values_->end() - static_cast<std::ptrdiff_t>(count);
    const double scale = top();
    const double dx = size.width() / (pointSlots - 1);
    // The top of the scale lies half a line below the edge, so that the line
    // along a maximum is drawn whole.
    const double h = std::max(size.height() - lineWidth / 2.0, 0.0);
    const double bottom = size.height();

    std::vector<QPointF> points;
    points.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const double v = std::clamp(finiteOrZero(first[static_cast<std::ptrdiff_t>(i)]), 0.0, scale);
        points.emplace_back(static_cast<double>(i) * dx, bottom - v / scale * h);
    }
    path.moveTo(points.front());
    if (count < 2)
        return path;

    // Monotone cubic interpolation (the tangent rule of Fritsch and Carlson
    // in its harmonic form): each piece stays between its two end values,
    // so the curve neither overshoots a peak nor dips below the baseline.
    std::vector<double> slopes(count - 1);
    for (size_t i = 0; i + 1 < count; ++i)
        slopes[i] = (points[i + 1].y() - points[i].y()) / dx;
    std::vector<double> tangents(count);
    for (size_t i = 1; i + 1 < count; ++i) {
        const double s0 = slopes[i - 1];
        const double s1 = slopes[i];
        const double mean = (s0 + s1) / 2.0;
        tangents[i] = (sign(s0) + sign(s1)) * std::min({std::fabs(s0), std::fabs(s1), 0.5 * std::fabs(mean)});
    }
    // The ends take the tangent that makes the end piece a parabola.
    auto endTangent = [](double slope, double inner) {
        const double t = (3.0 * slope - inner) / 2.0;
        return sign(t) == sign(slope) ? t : 0.0;
    };
    tangents.front() = count > 2 ? endTangent(slopes.front(), tangents[1]) : slopes.front();
    tangents.back() = count > 2 ? endTangent(slopes.back(), tangents[count - 2]) : slopes.back();

    for (size_t i = 0; i + 1 < count; ++i) {
        const QPointF& a = points[i];
        const QPointF& b = points[i + 1];
        path.cubicTo(QPointF(a.x() + dx / 3.0, a.y() + tangents[i] * dx / 3.0),
                     QPointF(b.x() - dx / 3.0, b.y() - tangents[i + 1] * dx / 3.0), b);
    }
    return path;
}

void Sparkline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Pixels per point of the surface painted on (2 for a 2× picture).
    const double scale = std::clamp(painter.deviceTransform().m11(), 0.25, 8.0);
    const QColor color = colorOf(color_, appearanceOf(*this));
    const QSize pixels = (QSizeF(size()) * scale).toSize();
    if (!cached_ || picture_.size() != pixels || picture_.devicePixelRatio() != scale || pictureColor_ != color) {
        picture_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(scale);
        picture_.fill(Qt::transparent);
        pictureColor_ = color;
        cached_ = true;
        const QPainterPath line = linePath(size());
        if (line.elementCount() >= 2 && !pixels.isEmpty()) {
            QPainter chart(&picture_);
            chart.setRenderHint(QPainter::Antialiasing);
            QPainterPath area = line;
            area.lineTo(line.currentPosition().x(), height());
            area.lineTo(0.0, height());
            area.closeSubpath();
            QLinearGradient gradient(0.0, 0.0, 0.0, height());
            gradient.setColorAt(0.0, faded(color, 0.35));
            gradient.setColorAt(1.0, faded(color, 0.02));
            chart.fillPath(area, gradient);
            QPen pen(color, lineWidth);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            chart.strokePath(line, pen);
        }
    }
    painter.drawImage(QPointF(0.0, 0.0), picture_);
}

void Sparkline::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString Sparkline::accessibleText(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return valueText_;
    return {};
}

} // namespace orbistat::ui
