#include "platform/linux/LinuxInterfaceCountersSource.h"

#include "platform/linux/NetDevParser.h"
#include "platform/linux/TextParsing.h"

namespace orbistat {

LinuxInterfaceCountersSource::LinuxInterfaceCountersSource(const LinuxRoot& root)
    : netDev_(root, "proc/net/dev")
    , attributes_(root)
{
}

std::optional<std::vector<InterfaceCounters>> LinuxInterfaceCountersSource::counters()
{
    // A new tick: the files of interfaces not asked about during the last
    // one (gone, or no longer counted) are closed.
    attributes_.sweep();
    const auto text = netDev_.read();
    if (!text)
        return std::nullopt;
    auto interfaces = parseNetDev(*text);
    if (interfaces.empty())
        return std::nullopt;
    return interfaces;
}

std::optional<std::string_view> LinuxInterfaceCountersSource::readAttribute(const std::string& name, std::string_view attribute)
{
    path_.assign("sys/class/net/").append(name).append(1, '/').append(attribute);
    return attributes_.readBytes(path_, 64);
}

InterfaceFlags LinuxInterfaceCountersSource::flags(const std::string& name)
{
    // The name becomes a path component: one that could leave the folder is
    // no interface (the kernel forbids '/' in names; a recorded tree might not).
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return {};
    InterfaceFlags result;
    const auto flags = readAttribute(name, "flags");
    const auto value = flags ? parseHexUnsigned(*flags) : std::nullopt;
    result.isUp = value && (*value & 0x1) != 0;
    if (!result.isUp)
        return result;
    const auto operstate = readAttribute(name, "operstate");
    const auto state = operstate ? trimAscii(*operstate) : std::string_view();
    if (state == "up") {
        result.isRunning = true;
    } else if (state == "unknown") {
        // Reading carrier of a device that is down fails with EINVAL.
        const auto carrier = readAttribute(name, "carrier");
        result.isRunning = carrier && parseUnsignedFile(*carrier) == uint64_t{1};
    }
    return result;
}

} // namespace orbistat
