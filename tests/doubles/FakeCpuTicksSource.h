#pragma once

#include "platform/CpuTicksSource.h"

#include <deque>

namespace orbistat::test {

// Answers each read with the next queued reading; absent when none is left.
class FakeCpuTicksSource final : public CpuTicksSource {
public:
    std::optional<std::vector<CpuTicks>> read() override
    {
        ++reads;
        if (readings.empty())
            return std::nullopt;
        auto next = readings.front();
        readings.pop_front();
        return next;
    }
    std::deque<std::optional<std::vector<CpuTicks>>> readings;
    int reads = 0;
};

} // namespace orbistat::test
