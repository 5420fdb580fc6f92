// Power of the processor, GPU, neural engine and memory, watts. A field is
// absent when no energy channel contributed to it.
#pragma once

#include <optional>

namespace orbistat {

struct ComponentPower {
    std::optional<double> cpu;
    std::optional<double> gpu;
    std::optional<double> ane;
    std::optional<double> dram;

    friend bool operator==(const ComponentPower&, const ComponentPower&) = default;
};

} // namespace orbistat
