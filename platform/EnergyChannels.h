// Port: cumulative energy counters in named channels, and the difference of
// two samples of them.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace orbistat {

struct EnergyChannel {
    QString id;                      // identifies the counter between samples
    std::optional<QString> group;    // "Energy Model" for the power channels
    std::optional<QString> name;     // "CPU Energy", "GPU Energy", "DRAM Energy", ...
    std::optional<QString> unit;     // "mJ", "uJ" or "nJ"
    int64_t value = 0;               // cumulative, or the growth in a delta
    std::optional<int64_t> wrapsAt;  // the counter restarts from 0 after this value

    friend bool operator==(const EnergyChannel&, const EnergyChannel&) = default;
};

using EnergySamples = std::vector<EnergyChannel>;

class EnergyChannels {
public:
    virtual ~EnergyChannels() = default;
    // The current value of every channel; absent when nothing could be read.
    virtual std::optional<EnergySamples> createSamples() = 0;
    // Each channel's growth from `earlier` to `later`, counter wraps
    // included. Absent when the two cannot be compared.
    virtual std::optional<EnergySamples> createSamplesDelta(const EnergySamples& earlier, const EnergySamples& later) = 0;
};

} // namespace orbistat
