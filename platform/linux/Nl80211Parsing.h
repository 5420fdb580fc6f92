// Parsing of nl80211 replies, split from the socket so that recorded
// attributes can be replayed. Each function takes the attribute stream of one
// generic-netlink message (after the genl header) and never reads beyond it:
// attribute lengths come from the kernel but are checked like any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orbistat {

// NL80211_CMD_NEW_INTERFACE (reply to GET_INTERFACE).
struct Nl80211Interface {
    uint32_t ifindex = 0;
    std::string name;
    std::optional<uint32_t> type;          // NL80211_IFTYPE_*
    std::optional<std::string> ssid;       // raw bytes, 1 to 32 of them
    std::optional<uint32_t> frequencyMHz;  // the operating channel

    friend bool operator==(const Nl80211Interface&, const Nl80211Interface&) = default;
};

// NL80211_CMD_NEW_STATION: in managed mode the one station is the access
// point the interface is associated with.
struct Nl80211Station {
    std::optional<int64_t> signalDbm;
    std::optional<double> transmitRateMbps;

    friend bool operator==(const Nl80211Station&, const Nl80211Station&) = default;
};

// NL80211_CMD_NEW_SURVEY_RESULTS: one channel's survey.
struct Nl80211Survey {
    std::optional<uint32_t> frequencyMHz;
    bool inUse = false;
    std::optional<int64_t> noiseDbm;

    friend bool operator==(const Nl80211Survey&, const Nl80211Survey&) = default;
};

// Absent when a required attribute (interface index and name) is missing.
std::optional<Nl80211Interface> parseNl80211Interface(std::span<const std::byte> attributes);
// Absent without station information.
std::optional<Nl80211Station> parseNl80211Station(std::span<const std::byte> attributes);
// Absent without survey information.
std::optional<Nl80211Survey> parseNl80211Survey(std::span<const std::byte> attributes);

} // namespace orbistat
