// The internal battery.
#pragma once

#include <cstdint>
#include <optional>

namespace orbistat {

struct BatterySample {
    int64_t percent = 0;
    bool isCharging = false;
    bool isPluggedIn = false;
    std::optional<int64_t> minutesRemaining;  // to full while charging, else to empty
    std::optional<int64_t> cycleCount;
    std::optional<int64_t> healthPercent;     // at most 100
    std::optional<double> temperature;        // °C
    std::optional<double> watts;              // magnitude of the flow in or out

    friend bool operator==(const BatterySample&, const BatterySample&) = default;
};

} // namespace orbistat
