#pragma once

#include "platform/VmStatisticsSource.h"

#include <deque>

namespace orbistat::test {

// Answers each read with the next queued reading; absent when none is left.
class FakeVmStatisticsSource final : public VmStatisticsSource {
public:
    std::optional<VmStatistics> read() override
    {
        if (readings.empty())
            return std::nullopt;
        auto next = readings.front();
        readings.pop_front();
        return next;
    }
    std::deque<std::optional<VmStatistics>> readings;
};

} // namespace orbistat::test
