#pragma once

#include "platform/EnergyChannels.h"

#include <deque>

namespace orbistat::test {

// Serves the queued samples in order (absent when none is left); the delta
// is the plain difference of the counters with the same id.
class FakeEnergyChannels final : public EnergyChannels {
public:
    std::optional<EnergySamples> createSamples() override
    {
        if (samples.empty())
            return std::nullopt;
        auto next = samples.front();
        samples.pop_front();
        return next;
    }

    std::optional<EnergySamples> createSamplesDelta(const EnergySamples& earlier, const EnergySamples& later) override
    {
        ++deltas;
        if (failDelta)
            return std::nullopt;
        EnergySamples delta;
        for (const auto& channel : later) {
            for (const auto& before : earlier) {
                if (before.id == channel.id) {
                    auto grown = channel;
                    grown.value = channel.value - before.value;
                    delta.push_back(grown);
                }
            }
        }
        return delta;
    }

    std::deque<std::optional<EnergySamples>> samples;
    bool failDelta = false;
    int deltas = 0;
};

} // namespace orbistat::test
