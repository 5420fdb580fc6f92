#include "platform/linux/WirelessFileParser.h"

#include "platform/linux/RouteParsing.h"
#include "platform/linux/TextParsing.h"

namespace orbistat {

namespace {

// Values carry a trailing '.' when the driver marks them as updated.
int64_t reading(std::string_view token)
{
    if (!token.empty() && token.back() == '.')
        token.remove_suffix(1);
    return parseSigned(token).value_or(0);
}

} // namespace

std::vector<WirelessFileEntry> parseWirelessFile(std::string_view text)
{
    //  face | tus | link level noise | ...
    //  wlan0: 0000   54.  -56.  -256  ...
    std::vector<WirelessFileEntry> entries;
    forEachLine(text, [&](std::string_view line) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            return;
        const auto name = trimAscii(line.substr(0, colon));
        if (!isPlausibleInterfaceName(name))
            return;
        const LeadingFields<4> fields(line.substr(colon + 1));
        if (fields.size() < 4)
            return;
        WirelessFileEntry entry{std::string(name), reading(fields[2]), reading(fields[3])};
        // -256 and below is the "no noise figure" marker of the interface.
        if (entry.noiseDbm <= -256)
            entry.noiseDbm = 0;
        entries.push_back(std::move(entry));
    });
    return entries;
}

} // namespace orbistat
