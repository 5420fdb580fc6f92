// Port: the Bluetooth report of the system's device tool: the connected
// devices, each a name and its property dictionary ("device_minorType",
// "device_batteryLevelMain", "device_batteryLevelLeft", ... as texts).
#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>
#include <vector>

namespace orbistat {

struct ProfilerDevice {
    QString name;
    QVariantMap properties;
};

class BluetoothProfiler {
public:
    virtual ~BluetoothProfiler() = default;
    // Runs the tool (slow, blocking; called off the main thread). Absent
    // when it could not be started, did not finish in time, or printed
    // nothing usable.
    virtual std::optional<std::vector<ProfilerDevice>> connectedDevices() = 0;
};

} // namespace orbistat
