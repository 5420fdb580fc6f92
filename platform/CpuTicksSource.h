// Port: cumulative per-processor tick counters, as the kernel counts them.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orbistat {

// Cumulative ticks of one logical processor. 32-bit like the counters the
// sampler's modulo arithmetic is written for; a counter that wraps still
// gives the true delta.
struct CpuTicks {
    uint32_t user = 0;
    uint32_t system = 0;
    uint32_t idle = 0;
    uint32_t nice = 0;

    friend bool operator==(const CpuTicks&, const CpuTicks&) = default;
};

class CpuTicksSource {
public:
    virtual ~CpuTicksSource() = default;
    // One entry per logical processor in the kernel's order; absent when
    // the counters cannot be read.
    virtual std::optional<std::vector<CpuTicks>> read() = 0;
};

} // namespace orbistat
