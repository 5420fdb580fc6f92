// Memory in use, split into application, wired and compressed memory, the
// swap in use and the pressure level. Every call is an independent
// snapshot.
#pragma once

#include "core/MemorySample.h"
#include "platform/VmStatisticsSource.h"

#include <optional>

namespace orbistat {

class MemorySampler {
public:
    explicit MemorySampler(VmStatisticsSource& statistics);

    // Absent when the statistics cannot be read; a missing swap figure is
    // 0 and a missing pressure level is normal.
    std::optional<MemorySample> sample();

    // 1 or less (or unknown) normal, 2 and 3 warning, 4 and above critical.
    static MemorySample::Pressure pressureFor(std::optional<int64_t> level);

private:
    VmStatisticsSource& statistics_;
};

} // namespace orbistat
