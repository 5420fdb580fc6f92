// The battery of one accessory (keyboard, mouse, headphones, ...): an entry
// of the monitor's accessory list and of the widget snapshot.
#pragma once

#include <QString>
#include <cstdint>

namespace orbistat {

struct AccessoryBattery {
    QString name;
    int64_t percent = 0;  // 0–100
    bool isCharging = false;
    QString symbol;       // symbol name standing for the device kind

    friend bool operator==(const AccessoryBattery&, const AccessoryBattery&) = default;
};

} // namespace orbistat
