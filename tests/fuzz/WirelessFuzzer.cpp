// libFuzzer target: /proc/net/wireless. Properties: parsing is deterministic;
// every entry names a plausible interface; the "no noise" marker (-256 and
// below) never comes through as a noise figure; what parses, written back in
// the kernel's layout, parses the same.
#include "FuzzSupport.h"
#include "platform/linux/RouteParsing.h"
#include "platform/linux/WirelessFileParser.h"

#include <string>

using namespace orbistat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto text = fuzz::asText(data, size);
    const auto entries = parseWirelessFile(text);
    fuzz::require(parseWirelessFile(text) == entries, "parsing is deterministic");
    std::string rewritten = "Inter-| sta-|   Quality        |   Discarded packets               | Missed | WE\n"
                            " face | tus | link level noise |  nwid  crypt   frag  retry   misc | beacon | 22\n";
    for (const auto& entry : entries) {
        fuzz::require(isPlausibleInterfaceName(entry.interface), "an entry names a plausible interface");
        fuzz::require(entry.noiseDbm > -256, "the no-noise marker is no figure");
        rewritten += entry.interface + ": 0000   54.  " + std::to_string(entry.levelDbm) + ".  " + std::to_string(entry.noiseDbm)
            + "        0      0      0      0      0        0\n";
    }
    fuzz::require(parseWirelessFile(rewritten) == entries, "written back, the entries parse the same");
    return 0;
}
