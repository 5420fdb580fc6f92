#include "samplers/NetworkSampler.h"

#include <array>
#include <cmath>

namespace orbistat {

NetworkSampler::NetworkSampler(InterfaceCountersSource& source, const Clock& clock)
    : source_(source)
    , clock_(clock)
{
}

bool NetworkSampler::isCountedName(std::string_view name)
{
    static constexpr std::array<std::string_view, 4> prefixes{"en", "eth", "wl", "ww"};
    for (const auto prefix : prefixes) {
        if (name.substr(0, prefix.size()) == prefix)
            return true;
    }
    return false;
}

uint64_t NetworkSampler::counterDelta(uint64_t previous, uint64_t current)
{
    if (current >= previous)
        return current - previous;
    return static_cast<uint32_t>(current - previous);
}

std::optional<NetworkSample> NetworkSampler::sample()
{
    const auto list = source_.counters();
    if (!list || list->empty())
        return std::nullopt;

    std::map<std::string, Counters> current;
    for (const auto& entry : *list) {
        if (!isCountedName(entry.name))
            continue;
        const auto flags = source_.flags(entry.name);
        if (!flags.isUp || !flags.isRunning)
            continue;
        current[entry.name] = Counters{entry.receivedBytes, entry.sentBytes};
    }

    const double now = clock_.now();
    if (!lastTimestamp_ || !(*lastTimestamp_ < now)) {
        previous_ = std::move(current);
        lastTimestamp_ = now;
        return NetworkSample{};
    }

    const double elapsed = now - *lastTimestamp_;
    double received = 0, sent = 0;
    for (const auto& [name, counters] : current) {
        // An interface new since the last call has no baseline yet.
        const auto before = previous_.find(name);
        if (before == previous_.end())
            continue;
        received += static_cast<double>(counterDelta(before->second.received, counters.received));
        sent += static_cast<double>(counterDelta(before->second.sent, counters.sent));
    }
    previous_ = std::move(current);
    lastTimestamp_ = now;
    const NetworkSample rates{received / elapsed, sent / elapsed};
    // A recorded clock can step by a denormal amount; a rate that is not a
    // finite number is no measurement.
    if (!std::isfinite(rates.download) || !std::isfinite(rates.upload))
        return NetworkSample{};
    return rates;
}

} // namespace orbistat
