// What the monitor asks of the accessory inventory: a slow sample taken off
// the main thread, and the diagnostic line of that run.
#pragma once

#include "shared/AccessoryBattery.h"

#include <QString>
#include <vector>

namespace orbistat {

class AccessoryInventory {
public:
    virtual ~AccessoryInventory() = default;
    // May block (it runs child processes); called on a worker thread, never
    // twice at a time.
    virtual std::vector<AccessoryBattery> sample() = 0;
    // What each source saw in the last sample().
    virtual QString diagnostics() const = 0;
};

} // namespace orbistat
