#include "platform/linux/LinuxInterfaceCountersSource.h"

#include "platform/linux/NetDevParser.h"
#include "platform/linux/TextParsing.h"

namespace orbistat {

LinuxInterfaceCountersSource::LinuxInterfaceCountersSource(const LinuxRoot& root)
    : root_(root)
    , netDev_(root, "proc/net/dev")
{
}

std::optional<std::vector<InterfaceCounters>> LinuxInterfaceCountersSource::counters()
{
    const auto text = netDev_.read();
    if (!text)
        return std::nullopt;
    auto interfaces = parseNetDev(*text);
    if (interfaces.empty())
        return std::nullopt;
    return interfaces;
}

InterfaceFlags LinuxInterfaceCountersSource::flags(const std::string& name)
{
    // The name becomes a path component: one that could leave the folder is
    // no interface (the kernel forbids '/' in names; a recorded tree might not).
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return {};
    const std::string base = "sys/class/net/" + name + "/";
    InterfaceFlags result;
    const auto flags = root_.readBytes(base + "flags", 64);
    const auto value = flags ? parseHexUnsigned(*flags) : std::nullopt;
    result.isUp = value && (*value & 0x1) != 0;
    if (!result.isUp)
        return result;
    const auto operstate = root_.readBytes(base + "operstate", 64);
    const auto state = operstate ? trimAscii(*operstate) : std::string_view();
    if (state == "up") {
        result.isRunning = true;
    } else if (state == "unknown") {
        // Reading carrier of a device that is down fails with EINVAL.
        result.isRunning = root_.readUnsigned(base + "carrier") == uint64_t{1};
    }
    return result;
}

} // namespace orbistat
