#include "ui/cards/AccessoryLine.h"

#include "ui/Theme.h"
#include "ui/components/SegmentedBar.h"
#include "ui/components/SymbolView.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orbistat::ui {

ColorRole accessoryBarColor(const AccessoryBattery& accessory)
{
    if (accessory.isCharging)
        return ColorRole::green;
    if (accessory.percent <= 10)
        return ColorRole::red;
    if (accessory.percent <= 20)
        return ColorRole::orange;
    return ColorRole::green;
}

AccessoryLine::AccessoryLine(QWidget* parent)
    : QWidget(parent)
    , name_(uiFont(textPoints))
    , percent_(uiFont(textPoints, QFont::Medium))
    , icon_(QString(), iconPoints)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    lineHeight_ = static_cast<int>(std::ceil(std::max(name_.lineHeight(), static_cast<double>(iconPoints))));
}

void AccessoryLine::setAccessory(const AccessoryBattery& accessory)
{
    if (accessory == accessory_ && !empty_)
        return;
    empty_ = false;
    const QSize old = sizeHint();
    const bool renamed = accessory.name != accessory_.name || accessory.percent != accessory_.percent;
    accessory_ = accessory;
    name_.setText(accessory.name);
    percent_.setText(percentText());
    icon_.setSymbol(iconSymbol());
    if (sizeHint() != old)
        updateGeometry();
    update();
    if (renamed)
        notifyNameChanged(this);
}

QString AccessoryLine::iconSymbol() const
{
    return accessory_.isCharging ? QStringLiteral("bolt.fill") : accessory_.symbol;
}

QString AccessoryLine::percentText() const
{
    return QString::number(accessory_.percent) + QLatin1Char('%');
}

ColorRole AccessoryLine::barColor() const
{
    return accessoryBarColor(accessory_);
}

AccessoryLine::Geometry AccessoryLine::geometry() const
{
    Geometry g;
    const double h = height() > 0 ? height() : lineHeight_;
    const double w = width();
    g.icon = QRectF(0.0, (h - iconPoints) / 2.0, iconFrame, iconPoints);
    g.bar = QRectF(w - barWidth, (h - barHeight) / 2.0, barWidth, barHeight);
    g.percent = QRectF(g.bar.left() - spacing - percent_.width(), 0.0, percent_.width(), h);
    const double nameLeft = iconFrame + spacing;
    const double nameRoom = std::max(g.percent.left() - minimumGap - nameLeft, 0.0);
    g.name = QRectF(nameLeft, 0.0, std::min(name_.width(), nameRoom), h);
    const double share = segmentShare(static_cast<double>(accessory_.percent) / 100.0);
    g.barFill = QRectF(g.bar.left(), g.bar.top(), std::max(barWidth * share - SegmentedBar::gap, 0.0), barHeight);
    return g;
}

QString AccessoryLine::shownName() const
{
    return name_.shownText(geometry().name.width());
}

QSize AccessoryLine::sizeHint() const
{
    return {static_cast<int>(std::ceil(iconFrame + spacing + name_.width() + minimumGap + percent_.width() + spacing + barWidth)),
            lineHeight_};
}

QSize AccessoryLine::minimumSizeHint() const
{
    return {static_cast<int>(std::ceil(iconFrame + spacing + minimumGap + percent_.width() + spacing + barWidth)), lineHeight_};
}

void AccessoryLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance appearance = appearanceOf(*this);
    const Geometry g = geometry();
    icon_.draw(painter, g.icon, colorOf(ColorRole::secondary, appearance));

    painter.setPen(colorOf(ColorRole::primary, appearance));
    name_.draw(painter, g.name, Qt::AlignLeft);
    percent_.draw(painter, g.percent, Qt::AlignRight);

    // The bar as a one-segment segmented bar.
    painter.setPen(Qt::NoPen);
    painter.setBrush(colorOf(ColorRole::quaternary, appearance));
    painter.drawRoundedRect(g.bar, 4.0, 4.0);
    if (g.barFill.width() > 0) {
        painter.setBrush(colorOf(barColor(), appearance));
        painter.drawRoundedRect(g.barFill, 3.0, 3.0);
    }
}

void AccessoryLine::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString AccessoryLine::accessibleText(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name)
        return name_.text() + QLatin1Char(' ') + tr("%1 percent").arg(accessory_.percent);
    return {};
}

} // namespace orbistat::ui
