// What the monitor asks of the live Bluetooth battery reader. Everything is
// called on the main thread; the reader calls back through the change
// callback whenever its lists may have changed.
#pragma once

#include "shared/AccessoryBattery.h"

#include <QString>
#include <functional>
#include <vector>

namespace orbistat {

class BluetoothBatterySource {
public:
    virtual ~BluetoothBatterySource() = default;
    // Connected classic devices that report a battery level.
    virtual std::vector<AccessoryBattery> classicDevices() const = 0;
    // Bluetooth LE peripherals with the battery service.
    virtual std::vector<AccessoryBattery> devices() const = 0;
    // One-line status summary of the reader.
    virtual QString diagnosticText() const = 0;
    virtual void setOnChange(std::function<void()> onChange) = 0;
};

} // namespace orbistat
