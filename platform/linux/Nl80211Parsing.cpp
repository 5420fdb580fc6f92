#include "platform/linux/Nl80211Parsing.h"

#include <cstring>
#include <linux/netlink.h>
#include <linux/nl80211.h>
#include <map>

namespace orbistat {

namespace {

using Bytes = std::span<const std::byte>;

// The attributes of one level, by type; a repeated type keeps the first.
// Each is a 4-byte header (length including the header, type) followed by
// the payload, padded to 4 bytes.
std::map<uint16_t, Bytes> attributeTable(Bytes stream)
{
    std::map<uint16_t, Bytes> table;
    while (stream.size() >= NLA_HDRLEN) {
        uint16_t length = 0;
        uint16_t type = 0;
        std::memcpy(&length, stream.data(), sizeof length);
        std::memcpy(&type, stream.data() + sizeof length, sizeof type);
        if (length < NLA_HDRLEN || length > stream.size())
            break;
        table.emplace(static_cast<uint16_t>(type & NLA_TYPE_MASK), stream.subspan(NLA_HDRLEN, length - NLA_HDRLEN));
        const size_t advance = NLA_ALIGN(length);
        if (advance >= stream.size())
            break;
        stream = stream.subspan(advance);
    }
    return table;
}

const Bytes* find(const std::map<uint16_t, Bytes>& table, uint16_t type)
{
    const auto it = table.find(type);
    return it == table.end() ? nullptr : &it->second;
}

template <typename T>
std::optional<T> fixed(const std::map<uint16_t, Bytes>& table, uint16_t type)
{
    const auto* payload = find(table, type);
    if (payload == nullptr || payload->size() < sizeof(T))
        return std::nullopt;
    T value;
    std::memcpy(&value, payload->data(), sizeof value);
    return value;
}

// Signal and noise travel as one byte holding a signed dBm value.
std::optional<int64_t> dbm(const std::map<uint16_t, Bytes>& table, uint16_t type)
{
    const auto value = fixed<int8_t>(table, type);
    return value ? std::optional<int64_t>(*value) : std::nullopt;
}

std::string text(Bytes payload)
{
    std::string value(reinterpret_cast<const char*>(payload.data()), payload.size());
    return value.substr(0, value.find('\0'));
}

} // namespace

std::optional<Nl80211Interface> parseNl80211Interface(Bytes attributes)
{
    const auto table = attributeTable(attributes);
    const auto ifindex = fixed<uint32_t>(table, NL80211_ATTR_IFINDEX);
    const auto* name = find(table, NL80211_ATTR_IFNAME);
    if (!ifindex || name == nullptr)
        return std::nullopt;
    Nl80211Interface interface;
    interface.ifindex = *ifindex;
    interface.name = text(*name);
    interface.type = fixed<uint32_t>(table, NL80211_ATTR_IFTYPE);
    interface.frequencyMHz = fixed<uint32_t>(table, NL80211_ATTR_WIPHY_FREQ);
    // An SSID is 1 to 32 arbitrary bytes; anything else is not a name.
    if (const auto* ssid = find(table, NL80211_ATTR_SSID); ssid != nullptr && !ssid->empty() && ssid->size() <= 32)
        interface.ssid = std::string(reinterpret_cast<const char*>(ssid->data()), ssid->size());
    return interface;
}

std::optional<Nl80211Station> parseNl80211Station(Bytes attributes)
{
    const auto table = attributeTable(attributes);
    const auto* info = find(table, NL80211_ATTR_STA_INFO);
    if (info == nullptr)
        return std::nullopt;
    const auto station = attributeTable(*info);
    Nl80211Station result;
    result.signalDbm = dbm(station, NL80211_STA_INFO_SIGNAL);
    if (const auto* rate = find(station, NL80211_STA_INFO_TX_BITRATE)) {
        const auto rateInfo = attributeTable(*rate);
        // Rates are in units of 100 kbit/s; the 16-bit field saturates
        // above 6.5 Gbit/s, so the 32-bit one wins when both are present.
        if (const auto wide = fixed<uint32_t>(rateInfo, NL80211_RATE_INFO_BITRATE32))
            result.transmitRateMbps = *wide / 10.0;
        else if (const auto narrow = fixed<uint16_t>(rateInfo, NL80211_RATE_INFO_BITRATE))
            result.transmitRateMbps = *narrow / 10.0;
    }
    return result;
}

std::optional<Nl80211Survey> parseNl80211Survey(Bytes attributes)
{
    const auto table = attributeTable(attributes);
    const auto* info = find(table, NL80211_ATTR_SURVEY_INFO);
    if (info == nullptr)
        return std::nullopt;
    const auto survey = attributeTable(*info);
    Nl80211Survey result;
    result.frequencyMHz = fixed<uint32_t>(survey, NL80211_SURVEY_INFO_FREQUENCY);
    result.inUse = find(survey, NL80211_SURVEY_INFO_IN_USE) != nullptr;
    result.noiseDbm = dbm(survey, NL80211_SURVEY_INFO_NOISE);
    return result;
}

} // namespace orbistat
