// Port: the machine's power sources, each described by a dictionary with
// text keys ("Type", "Current Capacity", "Max Capacity", "Is Charging",
// "Power Source State", "Time to Empty", "Time to Full Charge").
#pragma once

#include "platform/PropertyDictionary.h"

#include <optional>
#include <vector>

namespace orbistat {

class PowerSourceInfo {
public:
    virtual ~PowerSourceInfo() = default;
    // The sources in the system's order; an entry is absent when its
    // description could not be had. Absent when there is no power-source
    // information at all.
    virtual std::optional<std::vector<std::optional<PropertyDictionary>>> sources() = 0;
};

} // namespace orbistat
