// Port: cumulative byte counters of the machine's network interfaces and
// their link state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orbistat {

struct InterfaceCounters {
    std::string name;
    // As wide as the platform keeps them: 64 bits on Linux, 32 bits where
    // the kernel's record is 32 bits wide.
    uint64_t receivedBytes = 0;
    uint64_t sentBytes = 0;

    friend bool operator==(const InterfaceCounters&, const InterfaceCounters&) = default;
};

struct InterfaceFlags {
    bool isUp = false;       // administratively up
    bool isRunning = false;  // the link is up: cable in, or associated

    friend bool operator==(const InterfaceFlags&, const InterfaceFlags&) = default;
};

class InterfaceCountersSource {
public:
    virtual ~InterfaceCountersSource() = default;
    // Every interface in the kernel's order; absent when the list cannot be
    // read, or is empty.
    virtual std::optional<std::vector<InterfaceCounters>> counters() = 0;
    // The state of one interface; both false when it cannot be read. Asked
    // only for interfaces the sampler counts, so the others cost nothing.
    virtual InterfaceFlags flags(const std::string& name) = 0;
};

} // namespace orbistat
