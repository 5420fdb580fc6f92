// The processor: a ring of the total load beside the user, system and idle
// shares and the core summary, and one bar per logical processor below.
#pragma once

#include "ui/components/MetricCard.h"

namespace orbistat {
class SettingsStore;
class SystemMonitor;
}

namespace orbistat::ui {

class CoreBars;
class RingGauge;
class StatRow;
class TextLabel;

class CPUCard : public MetricCard {
    Q_OBJECT
public:
    CPUCard(const SystemMonitor& monitor, const SettingsStore& settings, QWidget* parent = nullptr);

    RingGauge* ring() const { return ring_; }
    StatRow* userRow() const { return user_; }
    StatRow* systemRow() const { return system_; }
    StatRow* idleRow() const { return idle_; }
    TextLabel* coreSummary() const { return cores_; }
    CoreBars* coreBars() const { return bars_; }

protected:
    void refresh() override;

private:
    const SystemMonitor& monitor_;
    RingGauge* ring_;
    StatRow* user_;
    StatRow* system_;
    StatRow* idle_;
    TextLabel* cores_;
    CoreBars* bars_;
};

} // namespace orbistat::ui
