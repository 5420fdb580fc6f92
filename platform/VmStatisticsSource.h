// Port: the kernel's virtual-memory figures the memory sampler needs, in
// bytes, with the swap in use and the memory-pressure level.
#pragma once

#include <cstdint>
#include <optional>

namespace orbistat {

struct VmStatistics {
    uint64_t physicalMemoryBytes = 0;
    // Anonymous memory of processes, and the part of it the owners marked
    // as discardable (the sampler takes the difference, never below 0).
    uint64_t internalBytes = 0;
    uint64_t purgeableBytes = 0;
    // Memory the kernel cannot reclaim or page out.
    uint64_t wiredBytes = 0;
    // Memory occupied by compressed pages (not the size of what they hold).
    uint64_t compressorBytes = 0;
    // Absent when the swap figure cannot be read.
    std::optional<uint64_t> swapUsedBytes;
    // 1 normal, 2 warning, 4 critical; absent when it cannot be read.
    std::optional<int64_t> pressureLevel;

    friend bool operator==(const VmStatistics&, const VmStatistics&) = default;
};

class VmStatisticsSource {
public:
    virtual ~VmStatisticsSource() = default;
    // Absent when the statistics cannot be read at all.
    virtual std::optional<VmStatistics> read() = 0;
};

} // namespace orbistat
