// Which cards the popover shows: those the user chose, in the cards' fixed
// order whatever the order of the stored list, each only while the machine
// reports what it needs (a GPU value, any sensor reading, a battery, at least
// one accessory).
#pragma once

#include "core/PopoverCard.h"
#include "core/SensorsSample.h"

#include <QString>
#include <set>
#include <vector>

namespace orbistat {
class SystemMonitor;
}

namespace orbistat::ui {

// True when the sample holds any temperature, power figure, sensor or fan.
bool sensorsHaveData(const SensorsSample& sensors);

std::vector<PopoverCard> shownCards(const std::set<QString>& chosen, const SystemMonitor& monitor);

} // namespace orbistat::ui
