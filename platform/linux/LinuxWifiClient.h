// Wi-Fi details on Linux. nl80211 first: the network name from the
// interface, signal and transmit rate from the station (the access point in
// managed mode), noise from the survey of the channel in use. Without
// nl80211, and always under a recorded tree, ROOT/proc/net/wireless gives
// signal and noise but no name.
#pragma once

#include "platform/WifiClient.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"

#include <memory>

namespace orbistat {

class Nl80211Session;
struct Nl80211Interface;

class LinuxWifiClient final : public WifiClient {
public:
    explicit LinuxWifiClient(const LinuxRoot& root);
    ~LinuxWifiClient() override;

    std::optional<WifiReading> interfaceNamed(const QString& name) override;
    std::optional<WifiReading> defaultInterface() override;
    void reopen() override;

private:
    // Absent when nl80211 cannot be used; `found` then says nothing.
    std::optional<std::optional<WifiReading>> fromNl80211(const std::optional<QString>& name);
    WifiReading measure(const Nl80211Interface& interface);
    std::optional<WifiReading> fromWirelessFile(const std::optional<QString>& name);

    const LinuxRoot& root_;
    HotFile wirelessFile_;
    std::unique_ptr<Nl80211Session> session_;
};

} // namespace orbistat
