#include "ui/cards/AccessoryLine.h"

#include "shared/drawing/PlainText.h"
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
    , nameFont_(uiFont(textPoints))
    , percentFont_(uiFont(textPoints, QFont::Medium))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    lineHeight_ = static_cast<int>(std::ceil(std::max(QFontMetricsF(nameFont_).height(), static_cast<double>(iconPoints))));
}

void AccessoryLine::setAccessory(const AccessoryBattery& accessory)
{
    if (accessory == accessory_ && !name_.isNull())
        return;
    const QSize old = sizeHint();
    const bool renamed = accessory.name != accessory_.name || accessory.percent != accessory_.percent;
    accessory_ = accessory;
    name_ = singleLine(accessory.name);
    nameWidth_ = QFontMetricsF(nameFont_).horizontalAdvance(name_);
    percentWidth_ = QFontMetricsF(percentFont_).horizontalAdvance(percentText());
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
    g.percent = QRectF(g.bar.left() - spacing - percentWidth_, 0.0, percentWidth_, h);
    const double nameLeft = iconFrame + spacing;
    const double nameRoom = std::max(g.percent.left() - minimumGap - nameLeft, 0.0);
    g.name = QRectF(nameLeft, 0.0, std::min(nameWidth_, nameRoom), h);
    const double share = segmentShare(static_cast<double>(accessory_.percent) / 100.0);
    g.barFill = QRectF(g.bar.left(), g.bar.top(), std::max(barWidth * share - SegmentedBar::gap, 0.0), barHeight);
    return g;
}

QString AccessoryLine::shownName() const
{
    return QFontMetricsF(nameFont_).elidedText(name_, Qt::ElideRight, std::ceil(geometry().name.width()));
}

QSize AccessoryLine::sizeHint() const
{
    return {static_cast<int>(std::ceil(iconFrame + spacing + nameWidth_ + minimumGap + percentWidth_ + spacing + barWidth)),
            lineHeight_};
}

QSize AccessoryLine::minimumSizeHint() const
{
    return {static_cast<int>(std::ceil(iconFrame + spacing + minimumGap + percentWidth_ + spacing + barWidth)), lineHeight_};
}

void AccessoryLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance appearance = appearanceOf(*this);
    const Geometry g = geometry();
    drawSymbol(painter, g.icon, iconSymbol(), iconPoints, colorOf(ColorRole::secondary, appearance));

    constexpr int flags = Qt::TextSingleLine | Qt::AlignVCenter;
    painter.setPen(colorOf(ColorRole::primary, appearance));
    if (g.name.width() > 0) {
        painter.setFont(nameFont_);
        painter.drawText(g.name, flags | Qt::AlignLeft, shownName());
    }
    painter.setFont(percentFont_);
    painter.drawText(g.percent, flags | Qt::AlignRight, percentText());

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
        return name_ + QLatin1Char(' ') + tr("%1 percent").arg(accessory_.percent);
    return {};
}

} // namespace orbistat::ui
