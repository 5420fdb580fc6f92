#pragma once

#include "platform/DiskTotalsSource.h"
#include "platform/VolumeCapacitySource.h"

#include <deque>

namespace orbistat::test {

class FakeVolumeCapacitySource final : public VolumeCapacitySource {
public:
    std::optional<VolumeCapacity> read() override { return capacity; }
    std::optional<VolumeCapacity> capacity;
};

// Answers each read with the next queued totals; absent when none is left.
class FakeDiskTotalsSource final : public DiskTotalsSource {
public:
    std::optional<DiskTotals> read() override
    {
        if (readings.empty())
            return std::nullopt;
        auto next = readings.front();
        readings.pop_front();
        return next;
    }
    std::deque<std::optional<DiskTotals>> readings;
};

} // namespace orbistat::test
