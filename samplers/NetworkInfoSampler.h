// The primary connection: the interface of the default route, its kind and
// IPv4 address, and for Wi-Fi the network name, signal, noise and rate.
#pragma once

#include "core/NetworkInfo.h"
#include "platform/NetworkInterfaces.h"
#include "platform/WifiClient.h"

#include <cstdint>

namespace orbistat {

class NetworkInfoSampler {
public:
    NetworkInfoSampler(NetworkInterfaces& interfaces, WifiClient& wifi);

    // Reads everything afresh. `status` (the raw location authorization)
    // only appears in the diagnostic of a withheld network name.
    NetworkInfo sample(bool locationGranted, int32_t status);

    std::optional<QString> primaryInterface();
    std::optional<QString> localIPv4(const QString& name);
    // Kind and display name; an interface the system does not know is
    // (other, absent).
    std::pair<NetworkInfo::Kind, std::optional<QString>> interfaceKind(const QString& name);

    // A new connection to the radio, after the permission changed.
    void renewWifiClient();

private:
    NetworkInterfaces& interfaces_;
    WifiClient& wifi_;
};

} // namespace orbistat
