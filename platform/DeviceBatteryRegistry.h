// Port: devices that publish a battery level in the system's device registry
// ("BatteryPercent", "Product", "DeviceName", "BatteryStatusFlags"), each
// with the properties of its parent device, which often carries the name.
#pragma once

#include <QVariantMap>
#include <vector>

namespace orbistat {

struct RegistryEntry {
    QVariantMap properties;
    QVariantMap parentProperties;
};

class DeviceBatteryRegistry {
public:
    virtual ~DeviceBatteryRegistry() = default;
    // In walk order; called off the main thread.
    virtual std::vector<RegistryEntry> entries() = 0;
};

} // namespace orbistat
