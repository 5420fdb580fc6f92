#include "ui/cards/SensorsCard.h"

#include "core/SystemMonitor.h"
#include "ui/Theme.h"
#include "ui/components/Column.h"
#include "ui/components/DisclosureButton.h"
#include "ui/components/Divider.h"
#include "ui/components/SegmentedBar.h"
#include "ui/components/Sparkline.h"
#include "ui/components/StatRow.h"
#include "ui/components/TextLabel.h"
#include "ui/components/ValueText.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace orbistat::ui {

namespace {

constexpr int rowSpacing = 4;
constexpr int fansSpacing = 6;
constexpr int fanSpacing = 3;
constexpr int sensorSpacing = 3;
constexpr int sensorListTop = 4;
constexpr int textPoints = 11;
constexpr double chartMaximum = 110.0;  // °C
constexpr size_t chartMinimumPoints = 2;

// Shows the row with the value when there is one.
void showValue(StatRow* row, const std::optional<double>& value, QString (*text)(double))
{
    if (row->isHidden() == value.has_value())
        row->setVisible(value.has_value());
    if (value)
        row->setValue(text(*value));
}

} // namespace

SensorsCard::SensorsCard(const SystemMonitor& monitor, QWidget* parent)
    : MetricCard(tr("Sensors"), QStringLiteral("thermometer.medium"), parent)
    , monitor_(monitor)
    , unavailable_(new TextLabel(tr("Temperatures are not available on this computer."), uiFont(textPoints), ColorRole::secondary))
    , temperatures_(new Column(rowSpacing))
    , cpu_(new StatRow(QStringLiteral("CPU")))
    , gpu_(new StatRow(QStringLiteral("GPU")))
    , soc_(new StatRow(tr("SoC")))
    , ssd_(new StatRow(tr("SSD")))
    , battery_(new StatRow(tr("Battery")))
    , chart_(new Sparkline)
    , powerDivider_(new Divider)
    , power_(new Column(rowSpacing))
    , fansDivider_(new Divider)
    , fans_(new Column(fansSpacing))
    , allGroup_(new Column(0))
    , allButton_(new DisclosureButton)
    , allList_(new Column(sensorSpacing))
{
    for (StatRow* row : {cpu_, gpu_, soc_, ssd_, battery_})
        temperatures_->add(row);
    chart_->setColor(ColorRole::orange);
    chart_->setMaximum(chartMaximum);
    chart_->setMinimumScale(1.0);
    chart_->setValues(&monitor_.history(MonitorHistory::cpuTemperature));
    chart_->setAccessibleName(tr("CPU temperature history"));

    powerRows_ = {new StatRow(tr("System power")),
                  new StatRow(tr("Adapter input")),
                  new StatRow(tr("CPU power"), ColorRole::accent),
                  new StatRow(tr("GPU power"), ColorRole::green),
                  new StatRow(tr("Neural Engine"), ColorRole::purple),
                  new StatRow(tr("Memory (DRAM)"), ColorRole::orange)};
    for (StatRow* row : powerRows_)
        power_->add(row);

    allList_->box()->setContentsMargins(0, sensorListTop, 0, 0);
    allList_->hide();
    allGroup_->add(allButton_);
    allGroup_->add(allList_);
    connect(allButton_, &QAbstractButton::toggled, this, [this](bool open) {
        if (open) {
            refreshAllSensors();
        } else {
            // Closed, the rows are dropped: a list of hundreds of sensors
            // costs nothing while nobody looks at it.
            for (StatRow* row : sensorRows_)
                delete row;
            sensorRows_.clear();
        }
        allList_->setVisible(open);
    });

    for (QWidget* part : std::initializer_list<QWidget*>{unavailable_, temperatures_, chart_, powerDivider_, power_, fansDivider_,
                                                          fans_, allGroup_})
        addContent(part);

    connect(&monitor_, &SystemMonitor::sensorsChanged, this, &MetricCard::invalidate);
    connect(&monitor_, &SystemMonitor::historyChanged, this, [this](MonitorHistory which) {
        if (which == MonitorHistory::cpuTemperature)
            invalidate();
    });
}

StatRow* SensorsCard::fanRow(size_t index) const
{
    return index < fanEntries_.size() && !fanEntries_[index].box->isHidden() ? fanEntries_[index].row : nullptr;
}

SegmentedBar* SensorsCard::fanBar(size_t index) const
{
    return index < fanEntries_.size() && !fanEntries_[index].box->isHidden() ? fanEntries_[index].bar : nullptr;
}

StatRow* SensorsCard::sensorRow(size_t index) const
{
    return index < sensorRows_.size() ? sensorRows_[index] : nullptr;
}

StatRow* SensorsCard::powerRow(size_t index) const
{
    return index < powerRows_.size() ? powerRows_[index] : nullptr;
}

bool SensorsCard::showsAllSensors() const
{
    return allButton_->isChecked();
}

void SensorsCard::setShowAllSensors(bool show)
{
    allButton_->setChecked(show);
}

void SensorsCard::refresh()
{
    const SensorsSample& sensors = monitor_.sensors();
    setSubtitle(sensors.cpu ? std::optional<QString>(QStringLiteral("CPU ") + temperatureText(*sensors.cpu)) : std::nullopt);

    // Temperatures.
    const bool summary = sensors.cpu || sensors.gpu || sensors.soc || sensors.ssd || sensors.battery;
    const bool anyTemperature = summary || !sensors.all.empty();
    setShown(unavailable_, !anyTemperature);
    setShown(temperatures_, summary);
    if (sensors.cpu) {
        QString text = temperatureText(*sensors.cpu);
        if (sensors.cpuHottest)
            text += QStringLiteral(" (") + tr("max %1").arg(temperatureText(*sensors.cpuHottest)) + QLatin1Char(')');
        cpu_->setValue(text);
    }
    setShown(cpu_, sensors.cpu.has_value());
    showValue(gpu_, sensors.gpu, temperatureText);
    showValue(soc_, sensors.soc, temperatureText);
    showValue(ssd_, sensors.ssd, temperatureText);
    showValue(battery_, sensors.battery, temperatureText);
    const auto& history = monitor_.history(MonitorHistory::cpuTemperature);
    const bool chart = anyTemperature && history.size() >= chartMinimumPoints;
    setShown(chart_, chart);
    if (chart) {
        chart_->valuesChanged();
        chart_->setValueText(temperatureText(history.back()));
    }

    // Power.
    const std::optional<double> powers[] = {sensors.systemPower,    sensors.adapterPower,   sensors.components.cpu,
                                            sensors.components.gpu, sensors.components.ane, sensors.components.dram};
    const bool anyPower = std::any_of(std::begin(powers), std::end(powers), [](const auto& value) { return value.has_value(); });
    setShown(powerDivider_, anyPower);
    setShown(power_, anyPower);
    for (size_t i = 0; i < powerRows_.size(); ++i)
        showValue(powerRows_[i], powers[i], wattsText);

    // Fans.
    setShown(fansDivider_, !sensors.fans.empty());
    setShown(fans_, !sensors.fans.empty());
    refreshFans();

    // Every sensor.
    setShown(allGroup_, sensors.all.size() >= 2);
    if (sensors.all.size() >= 2) {
        allButton_->setTitle(tr("All sensors (%1)").arg(sensors.all.size()));
        if (allButton_->isChecked())
            refreshAllSensors();
    }
}

void SensorsCard::refreshFans()
{
    const auto& fans = monitor_.sensors().fans;
    // Entries are kept and reused; extra ones are hidden.
    while (fanEntries_.size() < fans.size()) {
        FanEntry entry{new Column(fanSpacing), new StatRow, new SegmentedBar};
        entry.bar->setAccessibleName(tr("Fan speed"));
        entry.box->add(entry.row);
        entry.box->add(entry.bar);
        fans_->add(entry.box);
        entry.box->show();
        fanEntries_.push_back(entry);
    }
    for (size_t i = 0; i < fanEntries_.size(); ++i) {
        const FanEntry& entry = fanEntries_[i];
        setShown(entry.box, i < fans.size());
        if (i >= fans.size())
            continue;
        const FanReading& fan = fans[i];
        // Fans are numbered from 1 for people.
        const int64_t number = fan.id < std::numeric_limits<int64_t>::max() ? fan.id + 1 : fan.id;
        entry.row->setLabel(tr("Fan %1").arg(number));
        entry.row->setValue(rpmText(fan.rpm));
        const bool range = fan.minRPM && fan.maxRPM && *fan.minRPM < *fan.maxRPM;
        setShown(entry.bar, range);
        if (range) {
            // Below the minimum the share is negative: an empty bar.
            const double share = std::min((fan.rpm - *fan.minRPM) / (*fan.maxRPM - *fan.minRPM), 1.0);
            entry.bar->setFraction(share, ColorRole::accent);
        }
    }
}

void SensorsCard::refreshAllSensors()
{
    const auto& all = monitor_.sensors().all;
    while (sensorRows_.size() < all.size()) {
        auto* row = new StatRow;
        allList_->add(row);
        row->show();
        sensorRows_.push_back(row);
    }
    while (sensorRows_.size() > all.size()) {
        delete sensorRows_.back();
        sensorRows_.pop_back();
    }
    for (size_t i = 0; i < all.size(); ++i) {
        sensorRows_[i]->setLabel(all[i].name);
        sensorRows_[i]->setValue(temperatureText(all[i].value));
    }
}

} // namespace orbistat::ui
