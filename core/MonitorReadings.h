// The monitor's published values of one tick, copied into a plain record:
// what the tray image and the alerts are computed from. Consumers that take
// it can be exercised with any values, without samplers behind them.
#pragma once

#include "core/BatterySample.h"
#include "core/CPUSample.h"
#include "core/DemoData.h"
#include "core/DiskSample.h"
#include "core/MemorySample.h"
#include "core/NetworkSample.h"
#include "core/SensorsSample.h"

#include <array>
#include <optional>
#include <vector>

namespace orbistat {

class SystemMonitor;

struct MonitorReadings {
    double interval = 2.0;  // seconds
    CPUSample cpu;
    MemorySample memory;
    NetworkSample network;
    DiskSample disk;
    std::optional<double> gpu;
    SensorsSample sensors;
    std::optional<BatterySample> battery;
    std::array<std::vector<double>, monitorHistoryCount> histories;

    const std::vector<double>& history(MonitorHistory which) const { return histories[static_cast<size_t>(which)]; }
    std::vector<double>& history(MonitorHistory which) { return histories[static_cast<size_t>(which)]; }

    static MonitorReadings of(const SystemMonitor& monitor);
    // The same into this record, whose lists keep their storage: a consumer
    // that keeps one copies every tick without allocating.
    void update(const SystemMonitor& monitor);
};

} // namespace orbistat
