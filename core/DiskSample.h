// Startup-volume capacity and machine-wide disk throughput.
#pragma once

#include <cstdint>
#include <optional>

namespace orbistat {

struct DiskSample {
    uint64_t total = 0;
    uint64_t available = 0;
    std::optional<double> readRate;   // bytes per second; absent without a rate
    std::optional<double> writeRate;

    friend bool operator==(const DiskSample&, const DiskSample&) = default;
};

// Used fraction of the volume; absent when the total is unknown (0).
// Available space above the total counts as nothing used.
std::optional<double> diskUsedFraction(const DiskSample& sample);

} // namespace orbistat
