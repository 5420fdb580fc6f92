#include "ui/components/SegmentedBar.h"

#include "menubar/MenuBarRenderer.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orbistat::ui {

double segmentShare(double fraction)
{
    return std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
}

SegmentedBar::SegmentedBar(int fixedWidth, QWidget* parent)
    : QWidget(parent)
    , fixedWidth_(fixedWidth)
{
    setSizePolicy(fixedWidth > 0 ? QSizePolicy::Fixed : QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SegmentedBar::setSegments(std::vector<Segment> segments)
{
    if (segments == segments_)
        return;
    segments_ = std::move(segments);
    update();
    if (QAccessible::isActive())
        notifyValueChanged(this, accessibleText(QAccessible::Value));
}

void SegmentedBar::setFraction(double fraction, ColorRole color)
{
    setSegments({{fraction, color}});
}

QRectF SegmentedBar::segmentRect(size_t index, double width) const
{
    if (index >= segments_.size())
        return {};
    double x = 0.0;
    for (size_t i = 0;; ++i) {
        const double w = std::max(width * segmentShare(segments_[i].fraction) - gap, 0.0);
        if (i == index)
            return {x, 0.0, w, static_cast<double>(barHeight)};
        x += w + gap;
    }
}

QSize SegmentedBar::sizeHint() const
{
    return {fixedWidth_ > 0 ? fixedWidth_ : 120, barHeight};
}

QSize SegmentedBar::minimumSizeHint() const
{
    return {fixedWidth_ > 0 ? fixedWidth_ : 0, barHeight};
}

void SegmentedBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const Appearance appearance = appearanceOf(*this);
    const QRectF track(0, 0, width(), barHeight);
    painter.setBrush(colorOf(ColorRole::quaternary, appearance));
    painter.drawRoundedRect(track, 4.0, 4.0);
    // Shares that add up to more than the whole stop at the bar's end.
    painter.setClipRect(track);
    for (size_t i = 0; i < segments_.size(); ++i) {
        const QRectF segment = segmentRect(i, width());
        if (segment.width() <= 0)
            continue;
        painter.setBrush(colorOf(segments_[i].color, appearance));
        painter.drawRoundedRect(segment, 3.0, 3.0);
    }
}

void SegmentedBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString SegmentedBar::accessibleText(QAccessible::Text kind) const
{
    if (kind != QAccessible::Value)
        return {};
    double total = 0.0;
    for (const auto& segment : segments_)
        total += segmentShare(segment.fraction);
    return MenuBarRenderer::percentText(std::min(total, 1.0));
}

} // namespace orbistat::ui
