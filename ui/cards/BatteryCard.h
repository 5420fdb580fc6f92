// The internal battery: charge with the time to full or empty, a bar
// coloured by charge and power state, and the power flow, capacity, cycle
// count and temperature that the battery reports.
#pragma once

#include "core/BatterySample.h"
#include "ui/components/ColorRole.h"
#include "ui/components/MetricCard.h"

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class SegmentedBar;
class StatRow;
class ValueHeadline;

// The symbol for a battery state ("battery.100percent.bolt" while charging,
// else by charge) and the bar colour (on battery: red to 20 %, orange to
// 40 %, else green; on power always green).
QString batterySymbol(const BatterySample& battery);
ColorRole batteryBarColor(const BatterySample& battery);

class BatteryCard : public MetricCard {
    Q_OBJECT
public:
    // Follows the monitor's battery; the popover shows the card only while
    // there is one.
    explicit BatteryCard(const SystemMonitor& monitor, QWidget* parent = nullptr);

    // Draws this sample (the card keeps none of it).
    void setBattery(const BatterySample& battery);

    ValueHeadline* headline() const { return headline_; }
    SegmentedBar* bar() const { return bar_; }
    StatRow* powerRow() const { return power_; }
    StatRow* capacityRow() const { return capacity_; }
    StatRow* cyclesRow() const { return cycles_; }
    StatRow* temperatureRow() const { return temperature_; }

protected:
    void refresh() override;

private:
    const SystemMonitor& monitor_;
    ValueHeadline* headline_;
    SegmentedBar* bar_;
    StatRow* power_;
    StatRow* capacity_;
    StatRow* cycles_;
    StatRow* temperature_;
};

} // namespace orbistat::ui
