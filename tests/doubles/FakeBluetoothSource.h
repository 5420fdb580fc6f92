#pragma once

#include "samplers/BluetoothBatterySource.h"

namespace orbistat::test {

class FakeBluetoothSource final : public BluetoothBatterySource {
public:
    std::vector<AccessoryBattery> classicDevices() const override { return classic; }
    std::vector<AccessoryBattery> devices() const override { return le; }
    QString diagnosticText() const override { return text; }
    void setOnChange(std::function<void()> callback) override { onChange = std::move(callback); }

    std::vector<AccessoryBattery> classic;
    std::vector<AccessoryBattery> le;
    QString text = QStringLiteral("on, 0 with battery service | classic: -");
    std::function<void()> onChange;
};

} // namespace orbistat::test
