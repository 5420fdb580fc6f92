// Battery levels of connected accessories from three sources, in order of
// precedence: the system's power sources ("power"), batteries published by
// devices in the registry ("hid"), and the Bluetooth report of the device
// tool ("bluetooth", run at most once every 120 s). Merged into one list
// without duplicates, sorted by name, with a diagnostic line saying what
// each source saw.
#pragma once

#include "platform/BluetoothProfiler.h"
#include "platform/Clock.h"
#include "platform/DeviceBatteryRegistry.h"
#include "platform/PowerSourceList.h"
#include "samplers/AccessoryInventory.h"

#include <QStringList>
#include <array>
#include <optional>

namespace orbistat {

class AccessoriesSampler final : public AccessoryInventory {
public:
    enum class Source { power, hid, bluetooth };

    AccessoriesSampler(PowerSourceList& powerSources, DeviceBatteryRegistry& registry, BluetoothProfiler& profiler,
                       const Clock& clock);

    // Slow (it may run the device tool); one call at a time.
    std::vector<AccessoryBattery> sample() override;
    QString diagnostics() const override { return diagnostics_; }

    // Runs the tool and turns its report into records; updates
    // profilerDevices() when the tool gave a usable report.
    std::vector<AccessoryBattery> runProfiler();
    const QString& profilerDevices() const { return profilerDevices_; }

    // A level from the tool's report: a text whose digits, read as one
    // decimal number, are the level ("85%" is 85). Not a text, no digits, or
    // too many of them: absent.
    static std::optional<int64_t> batteryLevel(const QVariant& value);

private:
    void addPowerSources();
    void addRegistryEntries();
    void add(const QString& name, int64_t percent, bool isCharging, Source source);

    PowerSourceList& powerSources_;
    DeviceBatteryRegistry& registry_;
    BluetoothProfiler& profiler_;
    const Clock& clock_;

    std::vector<AccessoryBattery> profilerCache_;
    std::optional<double> profilerDate_;  // absent: the distant past
    QString diagnostics_;
    QString profilerDevices_;

    // The run in progress.
    std::vector<AccessoryBattery> devices_;
    std::array<QStringList, 3> items_;
};

} // namespace orbistat
