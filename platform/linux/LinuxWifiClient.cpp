#include "platform/linux/LinuxWifiClient.h"

#include "platform/linux/Nl80211Parsing.h"
#include "platform/linux/Nl80211Session.h"
#include "platform/linux/WirelessFileParser.h"

#include <linux/nl80211.h>
#include <vector>

namespace orbistat {

LinuxWifiClient::LinuxWifiClient(const LinuxRoot& root)
    : root_(root)
    , wirelessFile_(root, "proc/net/wireless", 1 << 16)
{
}

LinuxWifiClient::~LinuxWifiClient() = default;

void LinuxWifiClient::reopen()
{
    session_.reset();
}

std::optional<WifiReading> LinuxWifiClient::interfaceNamed(const QString& name)
{
    if (auto reading = fromNl80211(name))
        return *reading;
    return fromWirelessFile(name);
}

std::optional<WifiReading> LinuxWifiClient::defaultInterface()
{
    if (auto reading = fromNl80211(std::nullopt))
        return *reading;
    return fromWirelessFile(std::nullopt);
}

std::optional<std::optional<WifiReading>> LinuxWifiClient::fromNl80211(const std::optional<QString>& name)
{
    // The radio of the host, not of a recorded machine.
    if (root_.isRecorded())
        return std::nullopt;
    if (!session_)
        session_ = Nl80211Session::open();
    if (!session_)
        return std::nullopt;

    std::vector<Nl80211Interface> interfaces;
    const bool answered = session_->dump(NL80211_CMD_GET_INTERFACE, std::nullopt, [&](auto attributes) {
        if (auto interface = parseNl80211Interface(attributes))
            interfaces.push_back(std::move(*interface));
    });
    if (!answered) {
        // A broken socket is opened afresh on the next call.
        session_.reset();
        return std::nullopt;
    }
    const std::string wanted = name ? name->toStdString() : std::string();
    for (const auto& interface : interfaces) {
        // Without a name: the first client-mode interface (monitor and
        // access-point interfaces are not "the machine's Wi-Fi").
        const bool matches = name ? interface.name == wanted
                                  : interface.type == static_cast<uint32_t>(NL80211_IFTYPE_STATION);
        if (matches)
            return std::optional<WifiReading>(measure(interface));
    }
    return std::optional<WifiReading>();
}

WifiReading LinuxWifiClient::measure(const Nl80211Interface& interface)
{
    WifiReading reading;
    reading.interfaceName = QString::fromUtf8(interface.name.data(), static_cast<qsizetype>(interface.name.size()));
    if (interface.ssid)
        reading.ssid = QString::fromUtf8(interface.ssid->data(), static_cast<qsizetype>(interface.ssid->size()));

    std::optional<Nl80211Station> station;
    session_->dump(NL80211_CMD_GET_STATION, interface.ifindex, [&](auto attributes) {
        if (!station)
            station = parseNl80211Station(attributes);
    });
    if (station) {
        reading.rssiDbm = station->signalDbm.value_or(0);
        reading.transmitRateMbps = station->transmitRateMbps.value_or(0);
    }

    std::optional<int64_t> noise;
    session_->dump(NL80211_CMD_GET_SURVEY, interface.ifindex, [&](auto attributes) {
        const auto survey = parseNl80211Survey(attributes);
        if (!survey || noise)
            return;
        // Drivers that do not flag the channel in use are matched by
        // frequency.
        const bool current = survey->inUse
            || (interface.frequencyMHz && survey->frequencyMHz == interface.frequencyMHz);
        if (current)
            noise = survey->noiseDbm;
    });
    reading.noiseDbm = noise.value_or(0);
    return reading;
}

std::optional<WifiReading> LinuxWifiClient::fromWirelessFile(const std::optional<QString>& name)
{
    const auto text = wirelessFile_.read();
    if (!text)
        return std::nullopt;
    const std::string wanted = name ? name->toStdString() : std::string();
    for (const auto& entry : parseWirelessFile(*text)) {
        if (name && entry.interface != wanted)
            continue;
        WifiReading reading;
        reading.interfaceName = QString::fromStdString(entry.interface);
        reading.rssiDbm = entry.levelDbm;
        reading.noiseDbm = entry.noiseDbm;
        reading.reportsSsid = false;
        return reading;
    }
    return std::nullopt;
}

} // namespace orbistat
