#include "ui/cards/BatteryCard.h"

#include "core/SystemMonitor.h"
#include "ui/components/Column.h"
#include "ui/components/SegmentedBar.h"
#include "ui/components/StatRow.h"
#include "ui/components/ValueHeadline.h"
#include "ui/components/ValueText.h"

namespace orbistat::ui {

namespace {
constexpr int rowSpacing = 4;
} // namespace

QString batterySymbol(const BatterySample& battery)
{
    if (battery.isCharging)
        return QStringLiteral("battery.100percent.bolt");
    const int64_t percent = battery.percent;
    if (percent < 13)
        return QStringLiteral("battery.0percent");
    if (percent < 38)
        return QStringLiteral("battery.25percent");
    if (percent < 63)
        return QStringLiteral("battery.50percent");
    if (percent < 88)
        return QStringLiteral("battery.75percent");
    return QStringLiteral("battery.100percent");
}

ColorRole batteryBarColor(const BatterySample& battery)
{
    if (battery.isCharging || battery.isPluggedIn)
        return ColorRole::green;
    if (battery.percent <= 20)
        return ColorRole::red;
    if (battery.percent <= 40)
        return ColorRole::orange;
    return ColorRole::green;
}

BatteryCard::BatteryCard(const SystemMonitor& monitor, QWidget* parent)
    : MetricCard(tr("Battery"), QStringLiteral("battery.100percent"), parent)
    , monitor_(monitor)
    , headline_(new ValueHeadline)
    , bar_(new SegmentedBar)
    , power_(new StatRow)
    , capacity_(new StatRow(tr("Maximum capacity")))
    , cycles_(new StatRow(tr("Cycle count")))
    , temperature_(new StatRow(tr("Temperature")))
{
    bar_->setAccessibleName(tr("Battery charge"));
    auto* rows = new Column(rowSpacing);
    for (StatRow* row : {power_, capacity_, cycles_, temperature_})
        rows->add(row);
    addContent(headline_);
    addContent(bar_);
    addContent(rows);
    connect(&monitor_, &SystemMonitor::batteryChanged, this, &MetricCard::invalidate);
}

void BatteryCard::refresh()
{
    if (const auto& battery = monitor_.battery())
        setBattery(*battery);
}

void BatteryCard::setBattery(const BatterySample& battery)
{
    setSymbol(batterySymbol(battery));
    if (battery.isCharging)
        setSubtitle(tr("Charging"));
    else if (battery.isPluggedIn)
        setSubtitle(tr("Plugged in"));
    else
        setSubtitle(tr("On battery"));

    QString time;
    if (battery.minutesRemaining) {
        const QString duration = durationText(*battery.minutesRemaining);
        time = battery.isCharging ? tr("to full: %1").arg(duration) : tr("left: %1").arg(duration);
    }
    headline_->setTexts(QString::number(battery.percent) + QLatin1Char('%'), time);
    bar_->setFraction(static_cast<double>(battery.percent) / 100.0, batteryBarColor(battery));

    setShown(power_, battery.watts.has_value());
    if (battery.watts) {
        power_->setLabel(battery.isCharging ? tr("Charging power") : tr("Discharge power"));
        power_->setValue(wattsText(*battery.watts));
    }
    setShown(capacity_, battery.healthPercent.has_value());
    if (battery.healthPercent)
        capacity_->setValue(QString::number(*battery.healthPercent) + QLatin1Char('%'));
    setShown(cycles_, battery.cycleCount.has_value());
    if (battery.cycleCount)
        cycles_->setValue(QString::number(*battery.cycleCount));
    setShown(temperature_, battery.temperature.has_value());
    if (battery.temperature)
        temperature_->setValue(temperatureText(*battery.temperature));
}

} // namespace orbistat::ui
