// Named temperature readings of the machine's sensor services, in service
// order, each within the plausible range.
#pragma once

#include "core/TemperatureReading.h"
#include "platform/TemperatureServices.h"

#include <vector>

namespace orbistat {

class HIDTemperatureSampler {
public:
    explicit HIDTemperatureSampler(TemperatureServices& services);

    // One reading per service that answered with 0 < value < 150 °C. A
    // service without a product name is called "Sensor " + its index.
    // Several services may share a name; all are kept.
    std::vector<TemperatureReading> read();

private:
    TemperatureServices& services_;
};

} // namespace orbistat
