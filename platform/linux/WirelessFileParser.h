// ROOT/proc/net/wireless, the wireless-extensions status table: signal and
// noise per interface, without the network name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orbistat {

struct WirelessFileEntry {
    std::string interface;
    int64_t levelDbm = 0;  // 0 when not reported
    int64_t noiseDbm = 0;  // 0 when not reported

    friend bool operator==(const WirelessFileEntry&, const WirelessFileEntry&) = default;
};

// One entry per interface line, in file order; malformed lines are skipped.
std::vector<WirelessFileEntry> parseWirelessFile(std::string_view text);

} // namespace orbistat
