// Port: the property table of the internal battery's controller
// ("CycleCount", "DesignCapacity", "AppleRawMaxCapacity", "MaxCapacity",
// "Temperature" in hundredths of °C, "Voltage" in mV, "Amperage" and
// "InstantAmperage" in mA, negative while discharging).
#pragma once

#include "platform/PropertyDictionary.h"

#include <optional>

namespace orbistat {

class BatteryRegistry {
public:
    virtual ~BatteryRegistry() = default;
    // Absent when there is no battery controller.
    virtual std::optional<PropertyDictionary> properties() = 0;
};

} // namespace orbistat
