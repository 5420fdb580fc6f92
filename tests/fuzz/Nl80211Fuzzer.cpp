// libFuzzer target: the attribute stream of an nl80211 reply, read as an
// interface, a station and a survey. Properties: nothing is read beyond the
// stream (AddressSanitizer watches a buffer of exactly its size); parsing is
// deterministic; a network name is 1 to 32 bytes, an interface name holds
// no NUL; what parses, encoded again as attributes, parses the same.
#include "FuzzSupport.h"
#include "platform/linux/Nl80211Parsing.h"

#include <cmath>
#include <cstring>
#include <linux/netlink.h>
#include <linux/nl80211.h>
#include <memory>
#include <vector>

using namespace orbistat;

namespace {

using Stream = std::vector<std::byte>;

void attribute(Stream& stream, uint16_t type, const void* payload, size_t length)
{
    const auto total = static_cast<uint16_t>(NLA_HDRLEN + length);
    const size_t start = stream.size();
    stream.resize(start + NLA_ALIGN(total));
    std::memcpy(stream.data() + start, &total, 2);
    std::memcpy(stream.data() + start + 2, &type, 2);
    if (length > 0)
        std::memcpy(stream.data() + start + NLA_HDRLEN, payload, length);
}

template <typename T>
void value(Stream& stream, uint16_t type, T v)
{
    attribute(stream, type, &v, sizeof v);
}

void nested(Stream& stream, uint16_t type, const Stream& inner)
{
    attribute(stream, type, inner.data(), inner.size());
}

Stream encode(const Nl80211Interface& i)
{
    Stream s;
    value(s, NL80211_ATTR_IFINDEX, i.ifindex);
    attribute(s, NL80211_ATTR_IFNAME, i.name.c_str(), i.name.size() + 1);
    if (i.type)
        value(s, NL80211_ATTR_IFTYPE, *i.type);
    if (i.frequencyMHz)
        value(s, NL80211_ATTR_WIPHY_FREQ, *i.frequencyMHz);
    if (i.ssid)
        attribute(s, NL80211_ATTR_SSID, i.ssid->data(), i.ssid->size());
    return s;
}

Stream encode(const Nl80211Station& station)
{
    Stream info;
    if (station.signalDbm)
        value(info, NL80211_STA_INFO_SIGNAL, static_cast<int8_t>(*station.signalDbm));
    if (station.transmitRateMbps) {
        Stream rate;
        value(rate, NL80211_RATE_INFO_BITRATE32, static_cast<uint32_t>(std::llround(*station.transmitRateMbps * 10.0)));
        nested(info, NL80211_STA_INFO_TX_BITRATE, rate);
    }
    Stream s;
    nested(s, NL80211_ATTR_STA_INFO, info);
    return s;
}

Stream encode(const Nl80211Survey& survey)
{
    Stream info;
    if (survey.frequencyMHz)
        value(info, NL80211_SURVEY_INFO_FREQUENCY, *survey.frequencyMHz);
    if (survey.inUse)
        attribute(info, NL80211_SURVEY_INFO_IN_USE, nullptr, 0);
    if (survey.noiseDbm)
        value(info, NL80211_SURVEY_INFO_NOISE, static_cast<int8_t>(*survey.noiseDbm));
    Stream s;
    nested(s, NL80211_ATTR_SURVEY_INFO, info);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input's size, so a read past it is caught.
    auto copy = std::make_unique<std::byte[]>(size);
    if (size > 0)
        std::memcpy(copy.get(), data, size);
    const std::span<const std::byte> stream(copy.get(), size);

    const auto interface = parseNl80211Interface(stream);
    fuzz::require(parseNl80211Interface(stream) == interface, "interface parsing is deterministic");
    if (interface) {
        fuzz::require(interface->name.find('\0') == std::string::npos, "an interface name holds no NUL");
        if (interface->ssid)
            fuzz::require(!interface->ssid->empty() && interface->ssid->size() <= 32, "a network name is 1 to 32 bytes");
        fuzz::require(parseNl80211Interface(encode(*interface)) == interface, "an interface encoded again parses the same");
    }

    const auto station = parseNl80211Station(stream);
    fuzz::require(parseNl80211Station(stream) == station, "station parsing is deterministic");
    if (station) {
        if (station->signalDbm)
            fuzz::require(*station->signalDbm >= -128 && *station->signalDbm <= 127, "a signal is one signed byte");
        if (station->transmitRateMbps)
            fuzz::require(std::isfinite(*station->transmitRateMbps) && *station->transmitRateMbps >= 0.0, "a rate is finite, not negative");
        fuzz::require(parseNl80211Station(encode(*station)) == station, "a station encoded again parses the same");
    }

    const auto survey = parseNl80211Survey(stream);
    fuzz::require(parseNl80211Survey(stream) == survey, "survey parsing is deterministic");
    if (survey)
        fuzz::require(parseNl80211Survey(encode(*survey)) == survey, "a survey encoded again parses the same");
    return 0;
}
