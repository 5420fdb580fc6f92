// Port: the system's power sources, each as a description dictionary with
// the keys "Type", "Name", "Current Capacity", "Max Capacity" and "Is
// Charging". A key is missing when the source does not say; values keep the
// type the platform gave them, and the sampler checks each one.
#pragma once

#include <QVariantMap>
#include <vector>

namespace orbistat {

class PowerSourceList {
public:
    virtual ~PowerSourceList() = default;
    // In the platform's order; empty when the service is not there. May
    // block briefly; called off the main thread.
    virtual std::vector<QVariantMap> powerSources() = 0;
};

} // namespace orbistat
