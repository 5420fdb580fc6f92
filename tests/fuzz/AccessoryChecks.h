// The property every accessory list must have, whatever its sources sent:
// names present, levels within 0 and 100, no device twice.
#pragma once

#include "FuzzSupport.h"
#include "samplers/AccessoryMerge.h"
#include "shared/AccessoryBattery.h"

#include <vector>

namespace orbistat::fuzz {

inline void requireSoundAccessories(const std::vector<AccessoryBattery>& accessories)
{
    for (size_t i = 0; i < accessories.size(); ++i) {
        const auto& a = accessories[i];
        require(!a.name.isEmpty(), "an accessory has a name");
        require(a.percent >= 0 && a.percent <= 100, "an accessory's level is within 0 and 100");
        require(!a.symbol.isEmpty(), "an accessory has a symbol");
        for (size_t j = 0; j < i; ++j)
            require(!isSameAccessory(accessories[j].name, a.name), "no accessory is listed twice");
    }
}

} // namespace orbistat::fuzz
