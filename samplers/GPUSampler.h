// How busy the graphics processor is: the highest utilization any graphics
// device publishes, as a fraction. With an integrated and a discrete GPU the
// figure is the busier one, not an average.
#pragma once

#include "platform/AcceleratorStatisticsSource.h"

#include <array>
#include <optional>
#include <string_view>

namespace orbistat {

class GPUSampler {
public:
    // Tried in this order; the first one present with a number wins.
    static constexpr std::array<std::string_view, 2> utilizationKeys{"Device Utilization %", "GPU Activity(%)"};

    explicit GPUSampler(AcceleratorStatisticsSource& source);

    // Absent when no device gives a figure (or there is no device).
    std::optional<double> sample();
    // One device's figure: percent / 100, clamped to 0 ... 1.
    static std::optional<double> utilization(const std::optional<AcceleratorStatistics>& statistics);

private:
    AcceleratorStatisticsSource& source_;
};

} // namespace orbistat
