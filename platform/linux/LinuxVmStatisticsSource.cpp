#include "platform/linux/LinuxVmStatisticsSource.h"

#include "platform/linux/MemInfoParser.h"
#include "platform/linux/TextParsing.h"

namespace orbistat {

LinuxVmStatisticsSource::LinuxVmStatisticsSource(const LinuxRoot& root, const Clock& clock)
    : root_(root)
    , clock_(clock)
    , meminfo_(root, "proc/meminfo")
    , pressure_(root, "proc/pressure/memory", 4096)
    , zramFiles_(root)
{
}

uint64_t LinuxVmStatisticsSource::zramBytes()
{
    if (zramScan_.due(clock_.now())) {
        zramFiles_.sweep();
        zramStatFiles_.clear();
        for (const auto& name : root_.list("sys/block")) {
            if (name.size() > 4 && name.compare(0, 4, "zram") == 0 && parseUnsigned(std::string_view(name).substr(4)))
                zramStatFiles_.push_back("sys/block/" + name + "/mm_stat");
        }
    }
    uint64_t sum = 0;
    for (const auto& file : zramStatFiles_) {
        // An unconfigured device (no disksize yet) reads all zeros; a
        // device being removed fails and is looked for again next time.
        const auto text = zramFiles_.readBytes(file, 512);
        const auto used = text ? parseZramMemUsedBytes(*text) : std::nullopt;
        if (!used) {
            zramScan_.force();
            continue;
        }
        if (__builtin_add_overflow(sum, *used, &sum))
            sum = UINT64_MAX;
    }
    return sum;
}

std::optional<VmStatistics> LinuxVmStatisticsSource::read()
{
    const auto text = meminfo_.read();
    if (!text)
        return std::nullopt;
    const auto info = parseMemInfo(*text);
    if (!info.memTotalKb || !info.memAvailableKb)
        return std::nullopt;
    PressureStall stall;
    if (const auto pressure = pressure_.read())
        stall = parsePressureStall(*pressure);
    return vmStatisticsFromMemInfo(info, zramBytes(), stall);
}

} // namespace orbistat
