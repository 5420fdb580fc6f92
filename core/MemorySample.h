// One memory measurement in bytes, with the system's pressure level.
#pragma once

#include <cstdint>
#include <optional>

namespace orbistat {

struct MemorySample {
    enum class Pressure { normal, warning, critical };

    uint64_t total = 0;
    uint64_t app = 0;
    uint64_t wired = 0;
    uint64_t compressed = 0;
    uint64_t swapUsed = 0;
    Pressure pressure = Pressure::normal;

    friend bool operator==(const MemorySample&, const MemorySample&) = default;
};

// Used fraction: (app + wired + compressed) / total, at most 1; 0 for a total
// of 0. Swap is not part of it. A sum that overflows 64 bits cannot be a
// real reading: it is absent rather than a wrapped, tiny fraction.
std::optional<double> memoryUsedFraction(const MemorySample& sample);

} // namespace orbistat
