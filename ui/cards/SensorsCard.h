// Temperatures, power and fans: the summary temperatures with the CPU
// temperature history, the power figures, one row (and speed bar) per fan,
// and a collapsible list of every sensor. The list starts collapsed each
// time the card is made; its rows exist only while it is open.
#pragma once

#include "ui/components/MetricCard.h"

#include <vector>

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

class Column;
class DisclosureButton;
class Divider;
class SegmentedBar;
class Sparkline;
class StatRow;
class TextLabel;

class SensorsCard : public MetricCard {
    Q_OBJECT
public:
    explicit SensorsCard(const SystemMonitor& monitor, QWidget* parent = nullptr);

    // The parts, in order.
    TextLabel* unavailableText() const { return unavailable_; }
    Column* temperatures() const { return temperatures_; }
    StatRow* cpuRow() const { return cpu_; }
    StatRow* gpuRow() const { return gpu_; }
    StatRow* socRow() const { return soc_; }
    StatRow* ssdRow() const { return ssd_; }
    StatRow* batteryRow() const { return battery_; }
    Sparkline* chart() const { return chart_; }
    Divider* powerDivider() const { return powerDivider_; }
    Column* power() const { return power_; }
    Divider* fansDivider() const { return fansDivider_; }
    Column* fans() const { return fans_; }
    DisclosureButton* allSensorsButton() const { return allButton_; }
    Column* allSensorsList() const { return allList_; }

    // Fan i's row and bar (null past the current fans).
    StatRow* fanRow(size_t index) const;
    SegmentedBar* fanBar(size_t index) const;
    // Row i of the open All-sensors list.
    StatRow* sensorRow(size_t index) const;
    bool showsAllSensors() const;
    // Opens or closes the All-sensors list, as a click does.
    void setShowAllSensors(bool show);

    // Power rows by their place: system, adapter, CPU, GPU, neural engine,
    // memory.
    StatRow* powerRow(size_t index) const;

protected:
    void refresh() override;

private:
    struct FanEntry {
        Column* box;
        StatRow* row;
        SegmentedBar* bar;
    };

    void refreshFans();
    void refreshAllSensors();

    const SystemMonitor& monitor_;
    TextLabel* unavailable_;
    Column* temperatures_;
    StatRow* cpu_;
    StatRow* gpu_;
    StatRow* soc_;
    StatRow* ssd_;
    StatRow* battery_;
    Sparkline* chart_;
    Divider* powerDivider_;
    Column* power_;
    std::vector<StatRow*> powerRows_;
    Divider* fansDivider_;
    Column* fans_;
    std::vector<FanEntry> fanEntries_;
    Column* allGroup_;
    DisclosureButton* allButton_;
    Column* allList_;
    std::vector<StatRow*> sensorRows_;
};

} // namespace orbistat::ui
