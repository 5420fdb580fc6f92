// One fan's speed, revolutions per minute.
#pragma once

#include <cstdint>
#include <optional>

namespace orbistat {

struct FanReading {
    int64_t id = 0;  // fan index from 0
    double rpm = 0.0;
    std::optional<double> minRPM;
    std::optional<double> maxRPM;

    friend bool operator==(const FanReading&, const FanReading&) = default;
};

} // namespace orbistat
