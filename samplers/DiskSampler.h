// Capacity of the startup volume, read fresh on every call, and the
// machine-wide read and write throughput: the growth of the disks' byte
// totals since the previous successful reading, over the time between.
#pragma once

#include "core/DiskSample.h"
#include "platform/Clock.h"
#include "platform/DiskTotalsSource.h"
#include "platform/VolumeCapacitySource.h"

#include <optional>

namespace orbistat {

class DiskSampler {
public:
    DiskSampler(VolumeCapacitySource& capacity, DiskTotalsSource& totals, const Clock& clock);

    // Always a sample: capacities that cannot be read are 0, rates that
    // cannot be measured are absent (both together).
    DiskSample sample();
    // The machine-wide byte totals; absent when no disk answered.
    std::optional<DiskTotals> readTotals();

private:
    VolumeCapacitySource& capacity_;
    DiskTotalsSource& totals_;
    const Clock& clock_;
    std::optional<DiskTotals> previousTotals_;
    std::optional<double> lastTimestamp_;
};

} // namespace orbistat
