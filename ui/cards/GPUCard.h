// The GPU: its busy share as the subtitle and its history as a chart in the
// severity colour of the current value.
#pragma once

#include "ui/components/MetricCard.h"

namespace orbistat {
class SettingsStore;
class SystemMonitor;
}

namespace orbistat::ui {

class Sparkline;

class GPUCard : public MetricCard {
    Q_OBJECT
public:
    GPUCard(const SystemMonitor& monitor, const SettingsStore& settings, QWidget* parent = nullptr);

    Sparkline* chart() const { return chart_; }

protected:
    void refresh() override;

private:
    const SystemMonitor& monitor_;
    const SettingsStore& settings_;
    Sparkline* chart_;
};

} // namespace orbistat::ui
