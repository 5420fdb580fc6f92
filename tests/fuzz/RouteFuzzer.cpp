// libFuzzer target: the routing tables, /proc/net/route and
// /proc/net/ipv6_route separated by a byte 0x01. Properties: parsing is
// deterministic; a default route names a plausible interface (a safe path
// component) that is a field of its table; the loopback is never the IPv6
// default.
#include "FuzzSupport.h"
#include "platform/linux/RouteParsing.h"
#include "platform/linux/TextParsing.h"

#include <algorithm>

using namespace orbistat;

namespace {

bool isFieldOf(std::string_view text, const std::string& name)
{
    bool found = false;
    forEachLine(text, [&](std::string_view line) {
        const auto fields = splitFields(line);
        found = found || std::find(fields.begin(), fields.end(), name) != fields.end();
    });
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto files = fuzz::parts(fuzz::asText(data, size), 2);
    const auto v4 = parseIPv4DefaultRoute(files[0]);
    const auto v6 = parseIPv6DefaultRoute(files[1]);
    fuzz::require(parseIPv4DefaultRoute(files[0]) == v4 && parseIPv6DefaultRoute(files[1]) == v6, "parsing is deterministic");
    if (v4) {
        fuzz::require(isPlausibleInterfaceName(*v4), "the IPv4 default names a plausible interface");
        fuzz::require(*v4 != "*", "no route without an interface");
        fuzz::require(isFieldOf(files[0], *v4), "the IPv4 interface is a field of the table");
    }
    if (v6) {
        fuzz::require(isPlausibleInterfaceName(*v6), "the IPv6 default names a plausible interface");
        fuzz::require(*v6 != "lo", "the loopback is no default");
        fuzz::require(isFieldOf(files[1], *v6), "the IPv6 interface is a field of the table");
    }
    return 0;
}
