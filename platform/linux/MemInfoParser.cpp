#include "platform/linux/MemInfoParser.h"

#include "platform/linux/TextParsing.h"

namespace orbistat {

namespace {

// Kilobytes to bytes; a value too large to be memory is not a reading.
std::optional<uint64_t> kbToBytes(std::optional<uint64_t> kb)
{
    uint64_t bytes = 0;
    if (!kb || __builtin_mul_overflow(*kb, uint64_t{1024}, &bytes))
        return std::nullopt;
    return bytes;
}

uint64_t saturatingAdd(uint64_t a, uint64_t b)
{
    uint64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? UINT64_MAX : sum;
}

uint64_t saturatingSub(uint64_t a, uint64_t b) { return a > b ? a - b : 0; }

} // namespace

MemInfo parseMemInfo(std::string_view text)
{
    MemInfo info;
    struct Field {
        std::string_view key;
        std::optional<uint64_t> MemInfo::*member;
    };
    static constexpr Field fields[] = {
        {"MemTotal", &MemInfo::memTotalKb},
        {"MemAvailable", &MemInfo::memAvailableKb},
        {"SwapTotal", &MemInfo::swapTotalKb},
        {"SwapFree", &MemInfo::swapFreeKb},
        {"Zswap", &MemInfo::zswapKb},
        {"SUnreclaim", &MemInfo::sUnreclaimKb},
        {"KernelStack", &MemInfo::kernelStackKb},
        {"PageTables", &MemInfo::pageTablesKb},
    };
    forEachLine(text, [&](std::string_view line) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            return;
        const auto key = line.substr(0, colon);
        for (const auto& field : fields) {
            if (key != field.key)
                continue;
            // "MemTotal:  16314720 kB": the number, then the unit. Every
            // line of these is in kB; a line without it is not trusted.
            const LeadingFields<3> values(line.substr(colon + 1));
            if (values.size() == 2 && values[1] == "kB" && !(info.*field.member))
                info.*field.member = parseUnsigned(values[0]);
            return;
        }
    });
    return info;
}

PressureStall parsePressureStall(std::string_view text)
{
    PressureStall stall;
    forEachLine(text, [&](std::string_view line) {
        const LeadingFields<2> fields(line);
        if (fields.size() < 2 || fields[1].substr(0, 6) != "avg10=")
            return;
        const auto value = parseDouble(fields[1].substr(6));
        if (!value || *value < 0)
            return;
        if (fields[0] == "some")
            stall.someAvg10 = value;
        else if (fields[0] == "full")
            stall.fullAvg10 = value;
    });
    return stall;
}

std::optional<uint64_t> parseZramMemUsedBytes(std::string_view text)
{
    // orig_data_size compr_data_size mem_used_total mem_limit mem_used_max
    // same_pages pages_compacted huge_pages ...
    const LeadingFields<3> fields(text);
    if (fields.size() < 3)
        return std::nullopt;
    return parseUnsigned(fields[2]);
}

int64_t memoryPressureLevel(uint64_t totalKb, uint64_t availableKb, const PressureStall& stall)
{
    const double total = static_cast<double>(totalKb);
    const double available = static_cast<double>(availableKb);
    if ((stall.fullAvg10 && *stall.fullAvg10 >= 10.0) || available < total * 0.05)
        return 4;
    if ((stall.someAvg10 && *stall.someAvg10 >= 10.0) || available < total * 0.10)
        return 2;
    return 1;
}

std::optional<VmStatistics> vmStatisticsFromMemInfo(const MemInfo& info, uint64_t zramBytes, const PressureStall& stall)
{
    const auto total = kbToBytes(info.memTotalKb);
    const auto available = kbToBytes(info.memAvailableKb);
    if (!total || !available)
        return std::nullopt;

    VmStatistics stats;
    stats.physicalMemoryBytes = *total;
    const uint64_t used = saturatingSub(*total, *available);
    stats.compressorBytes = saturatingAdd(kbToBytes(info.zswapKb).value_or(0), zramBytes);
    stats.wiredBytes = saturatingAdd(saturatingAdd(kbToBytes(info.sUnreclaimKb).value_or(0), kbToBytes(info.kernelStackKb).value_or(0)),
                                     kbToBytes(info.pageTablesKb).value_or(0));
    stats.internalBytes = saturatingSub(saturatingSub(used, stats.wiredBytes), stats.compressorBytes);
    stats.purgeableBytes = 0;

    const auto swapTotal = kbToBytes(info.swapTotalKb);
    const auto swapFree = kbToBytes(info.swapFreeKb);
    if (swapTotal && swapFree)
        stats.swapUsedBytes = saturatingSub(*swapTotal, *swapFree);

    stats.pressureLevel = memoryPressureLevel(*info.memTotalKb, *info.memAvailableKb, stall);
    return stats;
}

} // namespace orbistat
