#include "platform/linux/NetDevParser.h"

#include "platform/linux/TextParsing.h"


namespace orbistat {

std::vector<InterfaceCounters> parseNetDev(std::string_view text)
{
    std::vector<InterfaceCounters> interfaces;
    forEachLine(text, [&](std::string_view line) {
        // The two header lines have no colon; interface names cannot hold one.
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            return;
        const auto name = trimAscii(line.substr(0, colon));
        if (name.empty() || name.find('|') != std::string_view::npos)
            return;
        // bytes packets errs drop fifo frame compressed multicast, then the
        // same eight (with colls and carrier) for transmit.
        const LeadingFields<9> fields(line.substr(colon + 1));
        if (fields.size() < 9)
            return;
        const auto received = parseUnsigned(fields[0]);
        const auto sent = parseUnsigned(fields[8]);
        if (!received || !sent)
            return;
        interfaces.push_back(InterfaceCounters{std::string(name), *received, *sent});
    });
    return interfaces;
}

} // namespace orbistat
