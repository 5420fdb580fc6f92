// Download and upload rates over the machine's wired, Wi-Fi and mobile
// interfaces, from the growth of their cumulative byte counters between two
// calls.
#pragma once

#include "core/NetworkSample.h"
#include "platform/Clock.h"
#include "platform/InterfaceCountersSource.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orbistat {

class NetworkSampler {
public:
    NetworkSampler(InterfaceCountersSource& source, const Clock& clock);

    // Rates since the previous call. The first call, and a call at which no
    // time has passed, re-base and return zeros; a failed read is absent
    // and keeps the baseline, so the next rate covers the whole gap.
    std::optional<NetworkSample> sample();

    // Ethernet (en*, eth*), Wi-Fi (wl*) and mobile broadband (ww*); bridges,
    // tunnels, containers and loopback never count.
    static bool isCountedName(std::string_view name);
    // Growth of a counter between two readings. A counter that went back is
    // taken as one wrap of a 32-bit counter, which many drivers still keep.
    static uint64_t counterDelta(uint64_t previous, uint64_t current);

private:
    struct Counters {
        uint64_t received = 0;
        uint64_t sent = 0;
    };

    InterfaceCountersSource& source_;
    const Clock& clock_;
    std::map<std::string, Counters> previous_;
    std::optional<double> lastTimestamp_;
};

} // namespace orbistat
