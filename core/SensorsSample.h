// Temperatures, fans and power of one tick.
#pragma once

#include "core/ComponentPower.h"
#include "core/FanReading.h"
#include "core/TemperatureReading.h"

#include <optional>
#include <vector>

namespace orbistat {

struct SensorsSample {
    std::optional<double> cpu;         // mean CPU temperature, °C
    std::optional<double> cpuHottest;
    std::optional<double> gpu;
    std::optional<double> soc;
    std::optional<double> ssd;
    std::optional<double> battery;
    std::vector<TemperatureReading> all;  // hottest first
    std::vector<FanReading> fans;         // at most 4
    std::optional<double> systemPower;    // W
    std::optional<double> adapterPower;   // W
    ComponentPower components;

    friend bool operator==(const SensorsSample&, const SensorsSample&) = default;
};

} // namespace orbistat
