// The internal battery: charge, power state and time remaining from the
// power-source descriptions; cycle count, health, temperature and power flow
// from the battery controller's properties.
#pragma once

#include "core/BatterySample.h"
#include "platform/BatteryRegistry.h"
#include "platform/PowerSourceInfo.h"

#include <optional>

namespace orbistat {

class BatterySampler {
public:
    BatterySampler(PowerSourceInfo& sources, BatteryRegistry& registry);

    // Absent without an internal battery. Stateless: every call reads afresh.
    std::optional<BatterySample> sample();

private:
    void addControllerFields(BatterySample& sample);

    PowerSourceInfo& sources_;
    BatteryRegistry& registry_;
};

} // namespace orbistat
