#pragma once

#include "platform/BluetoothProfiler.h"
#include "platform/DeviceBatteryRegistry.h"
#include "platform/PowerSourceList.h"

namespace orbistat::test {

class FakePowerSourceList final : public PowerSourceList {
public:
    std::vector<QVariantMap> powerSources() override { return sources; }
    std::vector<QVariantMap> sources;
};

class FakeDeviceBatteryRegistry final : public DeviceBatteryRegistry {
public:
    std::vector<RegistryEntry> entries() override { return registry; }
    std::vector<RegistryEntry> registry;
};

// Counts the runs of the tool; absent `devices` is a tool that failed.
class FakeBluetoothProfiler final : public BluetoothProfiler {
public:
    std::optional<std::vector<ProfilerDevice>> connectedDevices() override
    {
        ++runs;
        return devices;
    }
    std::optional<std::vector<ProfilerDevice>> devices = std::vector<ProfilerDevice>{};
    int runs = 0;
};

} // namespace orbistat::test
