#include "platform/linux/RouteParsing.h"

#include "platform/linux/TextParsing.h"

#include <cstdint>

namespace orbistat {

namespace {

constexpr uint64_t rtfUp = 0x0001;
constexpr uint64_t rtfReject = 0x0200;

bool isAllZeroHex(std::string_view token)
{
    return !token.empty() && token.find_first_not_of('0') == std::string_view::npos;
}

struct Best {
    std::optional<std::string> name;
    uint64_t metric = 0;

    void offer(std::string_view candidate, uint64_t candidateMetric)
    {
        if (!isPlausibleInterfaceName(candidate))
            return;
        if (!name || candidateMetric < metric) {
            name = std::string(candidate);
            metric = candidateMetric;
        }
    }
};

} // namespace

bool isPlausibleInterfaceName(std::string_view name)
{
    if (name.empty() || name.size() > 15 || name == "." || name == "..")
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == '/' || byte == 0x7f)
            return false;
    }
    return true;
}

std::optional<std::string> parseIPv4DefaultRoute(std::string_view routeFile)
{
    // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT,
    // after one header line. Addresses and flags are hexadecimal.
    Best best;
    bool header = true;
    forEachLine(routeFile, [&](std::string_view line) {
        if (header) {
            header = false;
            return;
        }
        const LeadingFields<8> fields(line);
        if (fields.size() < 8)
            return;
        const auto destination = parseHexDigits(fields[1]);
        const auto flags = parseHexDigits(fields[3]);
        const auto metric = parseUnsigned(fields[6]);
        const auto mask = parseHexDigits(fields[7]);
        if (!destination || !flags || !metric || !mask)
            return;
        if (*destination != 0 || *mask != 0 || (*flags & rtfUp) == 0 || (*flags & rtfReject) != 0)
            return;
        if (fields[0] == "*")
            return;
        best.offer(fields[0], *metric);
    });
    return best.name;
}

std::optional<std::string> parseIPv6DefaultRoute(std::string_view ipv6RouteFile)
{
    // destination prefix-length source source-length next-hop metric refcnt
    // use flags interface, all hexadecimal but the name; no header.
    Best best;
    forEachLine(ipv6RouteFile, [&](std::string_view line) {
        const LeadingFields<10> fields(line);
        if (fields.size() < 10)
            return;
        const auto prefixLength = parseHexDigits(fields[1]);
        const auto metric = parseHexDigits(fields[5]);
        const auto flags = parseHexDigits(fields[8]);
        if (!prefixLength || !metric || !flags || !isAllZeroHex(fields[0]))
            return;
        if (*prefixLength != 0 || (*flags & rtfReject) != 0 || fields[9] == "lo")
            return;
        best.offer(fields[9], *metric);
    });
    return best.name;
}

} // namespace orbistat
