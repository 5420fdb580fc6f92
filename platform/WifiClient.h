// Port: the Wi-Fi radio's view of an interface. Measurements the radio does
// not report are 0, as the radio itself reports them; the sampler turns 0
// into an absent value.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace orbistat {

struct WifiReading {
    std::optional<QString> interfaceName;
    int64_t rssiDbm = 0;
    int64_t noiseDbm = 0;
    double transmitRateMbps = 0;
    // The network name; absent when not associated or withheld.
    std::optional<QString> ssid;
    // False for a source that cannot tell the network name at all (so a
    // missing name says nothing about whether it is withheld).
    bool reportsSsid = true;

    friend bool operator==(const WifiReading&, const WifiReading&) = default;
};

class WifiClient {
public:
    virtual ~WifiClient() = default;
    // The Wi-Fi interface of that name; absent when there is none.
    virtual std::optional<WifiReading> interfaceNamed(const QString& name) = 0;
    // The first Wi-Fi interface of the machine; absent when there is none.
    virtual std::optional<WifiReading> defaultInterface() = 0;
    // Drops any open connection to the radio; the next call opens a new one.
    virtual void reopen() = 0;
};

} // namespace orbistat
