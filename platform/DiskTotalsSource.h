// Port: bytes read from and written to the machine's disks since boot,
// summed over every physical disk.
#pragma once

#include <cstdint>
#include <optional>

namespace orbistat {

struct DiskTotals {
    uint64_t readBytes = 0;
    uint64_t writeBytes = 0;

    friend bool operator==(const DiskTotals&, const DiskTotals&) = default;
};

class DiskTotalsSource {
public:
    virtual ~DiskTotalsSource() = default;
    // Absent when there is no disk, or no disk's counters could be read.
    virtual std::optional<DiskTotals> read() = 0;
};

} // namespace orbistat
