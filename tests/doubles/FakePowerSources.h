#pragma once

#include "platform/BatteryRegistry.h"
#include "platform/PowerSourceInfo.h"

namespace orbistat::test {

// Answers with whatever the test put in `list` and `registry`.
class FakePowerSources final : public PowerSourceInfo, public BatteryRegistry {
public:
    std::optional<std::vector<std::optional<PropertyDictionary>>> sources() override { return list; }
    std::optional<PropertyDictionary> properties() override { return registry; }

    std::optional<std::vector<std::optional<PropertyDictionary>>> list;
    std::optional<PropertyDictionary> registry;
};

} // namespace orbistat::test
