// Average power of the CPU, GPU, neural engine and memory between two
// calls, from cumulative energy counters.
#pragma once

#include "core/ComponentPower.h"
#include "platform/Clock.h"
#include "platform/EnergyChannels.h"

#include <optional>

namespace orbistat {

class IOReportSampler {
public:
    IOReportSampler(EnergyChannels& channels, const Clock& clock);

    // Absent on the first call (it takes the baseline), when less than
    // 0.1 s passed, when the counters cannot be read or compared, and when
    // no channel contributed. Every successful read becomes the new
    // baseline, whether or not a value is returned.
    std::optional<ComponentPower> sample();

private:
    struct Baseline {
        EnergySamples sample;
        double time = 0.0;
    };

    EnergyChannels& channels_;
    const Clock& clock_;
    std::optional<Baseline> previous_;
};

} // namespace orbistat
