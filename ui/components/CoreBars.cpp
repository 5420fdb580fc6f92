#include "ui/components/CoreBars.h"

#include "menubar/MenuBarRenderer.h"
#include "ui/Theme.h"
#include "ui/components/SeverityColor.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace orbistat::ui {

double coreBarFill(double value, double h)
{
    double filled = 0.0;
    if (std::isfinite(value) && value >= 0.0)
        filled = value >= 1.0 ? h : value * h;
    return std::max(filled, CoreBars::stub);
}

CoreBars::CoreBars(const SettingsStore& settings, QWidget* parent)
    : QWidget(parent)
    , settings_(settings)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CoreBars::setValues(const std::vector<double>* values)
{
    values_ = values;
    std::vector<ColorRole> colors;
    if (values_) {
        colors.reserve(values_->size());
        for (const double value : *values_)
            colors.push_back(severityColor(value, settings_));
    }
    colors_ = std::move(colors);
    update();
    if (QAccessible::isActive())
        notifyValueChanged(this, accessibleText(QAccessible::Value));
}

double CoreBars::gap(double width) const
{
    // So many processors that 3-point gaps would leave no bar: the gaps
    // shrink so that every bar keeps at least a point.
    const auto n = static_cast<double>(colors_.size());
    if (n < 2)
        return spacing;
    const double room = (width - n) / (n - 1);
    return std::clamp(room, 0.0, spacing);
}

QRectF CoreBars::trackRect(size_t index, double width) const
{
    const size_t n = colors_.size();
    if (index >= n || width <= 0)
        return {};
    const double g = gap(width);
    const double barWidth = std::max((width - g * static_cast<double>(n - 1)) / static_cast<double>(n), 0.0);
    return {static_cast<double>(index) * (barWidth + g), 0.0, barWidth, static_cast<double>(barsHeight)};
}

QRectF CoreBars::fillRect(size_t index, double width) const
{
    const QRectF track = trackRect(index, width);
    if (track.isEmpty() || !values_ || index >= values_->size())
        return {};
    const double filled = coreBarFill((*values_)[index], track.height());
    return {track.x(), track.bottom() - filled, track.width(), filled};
}

void CoreBars::paintEvent(QPaintEvent*)
{
    // The colours were taken for these values; a vector that changed length
    // since then waits for the next setValues.
    if (!values_ || values_->size() != colors_.size() || colors_.empty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const Appearance appearance = appearanceOf(*this);
    const QColor track = ui::colorOf(ColorRole::quaternary, appearance);
    const double w = width();
    for (size_t i = 0; i < colors_.size(); ++i) {
        const QRectF bar = trackRect(i, w);
        if (bar.width() <= 0)
            continue;
        // Capsules: the corner radius is half the narrower side.
        const double radius = std::min(bar.width(), bar.height()) / 2.0;
        painter.setBrush(track);
        painter.drawRoundedRect(bar, radius, radius);
        const QRectF fill = fillRect(i, w);
        const double fillRadius = std::min(fill.width(), fill.height()) / 2.0;
        painter.setBrush(ui::colorOf(colors_[i], appearance));
        painter.drawRoundedRect(fill, fillRadius, fillRadius);
    }
}

void CoreBars::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString CoreBars::accessibleText(QAccessible::Text kind) const
{
    if (kind != QAccessible::Value || !values_)
        return {};
    QStringList parts;
    parts.reserve(static_cast<qsizetype>(values_->size()));
    for (const double value : *values_)
        parts << MenuBarRenderer::percentText(std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0);
    return parts.join(QStringLiteral(", "));
}

} // namespace orbistat::ui
