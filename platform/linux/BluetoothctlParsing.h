// The output of `bluetoothctl devices Connected` and `bluetoothctl info
// ADDRESS`. The tool writes for a terminal: lines may carry colour escapes
// and prompts, which are removed before anything is read.
#pragma once

#include "platform/BluetoothProfiler.h"

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

namespace orbistat {

struct BluetoothctlDevice {
    QString address;  // AA:BB:CC:DD:EE:FF
    QString name;     // may be empty

    friend bool operator==(const BluetoothctlDevice&, const BluetoothctlDevice&) = default;
};

struct BluetoothctlInfo {
    std::optional<QString> name;
    std::optional<QString> alias;
    std::optional<QString> icon;            // the device kind, e.g. input-mouse
    std::optional<int64_t> batteryPercent;  // "Battery Percentage: 0x5a (90)"

    friend bool operator==(const BluetoothctlInfo&, const BluetoothctlInfo&) = default;
};

// "Device AA:BB:CC:DD:EE:FF Name" lines, in order; other lines are skipped.
std::vector<BluetoothctlDevice> parseBluetoothctlDevices(std::string_view output);
std::optional<BluetoothctlInfo> parseBluetoothctlInfo(std::string_view output);

// One device of the report: its name from `info` (Name, else Alias), else
// the listed name, else the address; the kind and the main battery level as
// the texts the report carries. `info` is absent when the tool said nothing
// usable about the device.
ProfilerDevice profilerDeviceFrom(const BluetoothctlDevice& device, const std::optional<BluetoothctlInfo>& info);

// True for six pairs of hexadecimal digits separated by colons.
bool isBluetoothAddress(std::string_view text);

} // namespace orbistat
