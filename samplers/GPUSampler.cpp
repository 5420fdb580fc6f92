#include "samplers/GPUSampler.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace orbistat {

GPUSampler::GPUSampler(AcceleratorStatisticsSource& source)
    : source_(source)
{
}

std::optional<double> GPUSampler::utilization(const std::optional<AcceleratorStatistics>& statistics)
{
    if (!statistics)
        return std::nullopt;
    for (const auto key : utilizationKeys) {
        const auto it = statistics->find(std::string(key));
        // NaN is not a number to report: the next key is tried.
        if (it == statistics->end() || std::isnan(it->second))
            continue;
        return std::clamp(it->second / 100.0, 0.0, 1.0);
    }
    return std::nullopt;
}

std::optional<double> GPUSampler::sample()
{
    const auto devices = source_.statistics();
    if (!devices)
        return std::nullopt;
    std::optional<double> busiest;
    for (const auto& device : *devices) {
        const auto value = utilization(device);
        if (value && (!busiest || *value >= *busiest))
            busiest = value;
    }
    return busiest;
}

} // namespace orbistat
