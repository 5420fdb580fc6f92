// Batteries that devices publish through the kernel: the power supplies of
// ROOT/sys/class/power_supply whose scope is Device (HID++ receivers, HID and
// Bluetooth HID batteries, game controllers), as registry entries.
// "BatteryPercent" is `capacity`; the name is `model_name`, else the parent
// device's HID_NAME, else the name of its input device (game controllers
// have no model_name); "BatteryStatusFlags" is 3 while charging.
#pragma once

#include "platform/DeviceBatteryRegistry.h"
#include "platform/linux/LinuxRoot.h"

namespace orbistat {

class LinuxDeviceBatteries final : public DeviceBatteryRegistry {
public:
    explicit LinuxDeviceBatteries(const LinuxRoot& root);
    std::vector<RegistryEntry> entries() override;

private:
    const LinuxRoot& root_;
};

} // namespace orbistat
