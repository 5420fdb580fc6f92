// The primary connection: its interface, address and Wi-Fi details.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace orbistat {

struct NetworkInfo {
    enum class Kind { wifi, ethernet, other, offline };

    Kind kind = Kind::offline;
    std::optional<QString> interface;
    std::optional<QString> displayName;
    std::optional<QString> localIP;
    std::optional<QString> ssid;
    std::optional<int64_t> rssi;   // dBm
    std::optional<int64_t> noise;  // dBm
    std::optional<double> linkSpeedMbps;
    bool ssidHiddenByPrivacy = false;
    std::optional<QString> debug;

    friend bool operator==(const NetworkInfo&, const NetworkInfo&) = default;
};

QString networkKindName(NetworkInfo::Kind kind);

// "Excellent", "Good", "Fair" or "Weak" by signal strength; absent without one.
std::optional<QString> signalQuality(const NetworkInfo& info);

} // namespace orbistat
