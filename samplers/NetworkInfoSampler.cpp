#include "samplers/NetworkInfoSampler.h"

namespace orbistat {

namespace {
// A radio reports 0 for a measurement it does not have.
std::optional<int64_t> dbm(int64_t value)
{
    return value == 0 ? std::nullopt : std::optional<int64_t>(value);
}
} // namespace

NetworkInfoSampler::NetworkInfoSampler(NetworkInterfaces& interfaces, WifiClient& wifi)
    : interfaces_(interfaces)
    , wifi_(wifi)
{
}

std::optional<QString> NetworkInfoSampler::primaryInterface()
{
    return interfaces_.primaryInterface();
}

std::optional<QString> NetworkInfoSampler::localIPv4(const QString& name)
{
    return interfaces_.localIPv4(name);
}

std::pair<NetworkInfo::Kind, std::optional<QString>> NetworkInfoSampler::interfaceKind(const QString& name)
{
    const auto description = interfaces_.describe(name);
    if (!description)
        return {NetworkInfo::Kind::other, std::nullopt};
    switch (description->type) {
    case InterfaceType::ieee80211: return {NetworkInfo::Kind::wifi, description->displayName};
    case InterfaceType::ethernet: return {NetworkInfo::Kind::ethernet, description->displayName};
    case InterfaceType::other: break;
    }
    return {NetworkInfo::Kind::other, description->displayName};
}

void NetworkInfoSampler::renewWifiClient()
{
    wifi_.reopen();
}

NetworkInfo NetworkInfoSampler::sample(bool locationGranted, int32_t status)
{
    const auto name = primaryInterface();
    if (!name)
        return NetworkInfo{};

    NetworkInfo info;
    info.interface = name;
    info.localIP = localIPv4(*name);
    std::tie(info.kind, info.displayName) = interfaceKind(*name);
    if (info.kind != NetworkInfo::Kind::wifi)
        return info;

    // The named interface first; a radio that renamed or hides it still has
    // a default interface worth showing.
    auto wifi = wifi_.interfaceNamed(*name);
    if (!wifi)
        wifi = wifi_.defaultInterface();
    if (!wifi) {
        info.debug = QStringLiteral("no nl80211 interface for ") + *name;
        return info;
    }

    info.rssi = dbm(wifi->rssiDbm);
    info.noise = dbm(wifi->noiseDbm);
    if (wifi->transmitRateMbps > 0)
        info.linkSpeedMbps = wifi->transmitRateMbps;

    if (!wifi->reportsSsid) {
        // This source never knows the name, so its absence is not a sign of
        // a withheld name.
        info.debug = QStringLiteral("SSID unavailable without nl80211 on ") + *name;
        return info;
    }
    if (wifi->ssid) {
        info.ssid = wifi->ssid;
    } else if (wifi->rssiDbm != 0) {
        // Associated (the radio hears the network) but the name is withheld.
        info.ssidHiddenByPrivacy = true;
        info.debug = QStringLiteral("location status %1 (%2) \u00B7 %3")
                         .arg(QString::number(status),
                              locationGranted ? QStringLiteral("granted") : QStringLiteral("not granted"),
                              wifi->interfaceName.value_or(QStringLiteral("?")));
    }
    return info;
}

} // namespace orbistat
