// libFuzzer target: /proc/meminfo, /proc/pressure/memory and a zram
// device's mm_stat, separated by bytes 0x01. Properties: each parse is
// deterministic; a meminfo that parses, written back, parses the same; stall
// averages are finite and not negative; the pressure level is one the
// sampler knows; the memory sample built from them has a used fraction
// within 0 and 1.
#include "FuzzSupport.h"
#include "doubles/FakeVmStatisticsSource.h"
#include "platform/linux/MemInfoParser.h"
#include "samplers/MemorySampler.h"

#include <cmath>
#include <string>

using namespace orbistat;

namespace {

bool sameInfo(const MemInfo& a, const MemInfo& b)
{
    return a.memTotalKb == b.memTotalKb && a.memAvailableKb == b.memAvailableKb && a.swapTotalKb == b.swapTotalKb
        && a.swapFreeKb == b.swapFreeKb && a.zswapKb == b.zswapKb && a.sUnreclaimKb == b.sUnreclaimKb
        && a.kernelStackKb == b.kernelStackKb && a.pageTablesKb == b.pageTablesKb;
}

std::string written(const MemInfo& info)
{
    std::string text;
    const auto line = [&text](const char* key, const std::optional<uint64_t>& kb) {
        if (kb)
            text += std::string(key) + ":   " + std::to_string(*kb) + " kB\n";
    };
    line("MemTotal", info.memTotalKb);
    line("MemFree", std::optional<uint64_t>(1));
    line("MemAvailable", info.memAvailableKb);
    line("SwapTotal", info.swapTotalKb);
    line("SwapFree", info.swapFreeKb);
    line("Zswap", info.zswapKb);
    line("SUnreclaim", info.sUnreclaimKb);
    line("KernelStack", info.kernelStackKb);
    line("PageTables", info.pageTablesKb);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto files = fuzz::parts(fuzz::asText(data, size), 3);
    const auto info = parseMemInfo(files[0]);
    fuzz::require(sameInfo(parseMemInfo(files[0]), info), "meminfo parsing is deterministic");
    fuzz::require(sameInfo(parseMemInfo(written(info)), info), "written back, meminfo parses the same");

    const auto stall = parsePressureStall(files[1]);
    for (const auto& average : {stall.someAvg10, stall.fullAvg10})
        fuzz::require(!average || (std::isfinite(*average) && *average >= 0.0), "stall averages are finite, not negative");

    const auto zram = parseZramMemUsedBytes(files[2]);
    fuzz::require(parseZramMemUsedBytes(files[2]) == zram, "mm_stat parsing is deterministic");

    const auto statistics = vmStatisticsFromMemInfo(info, zram.value_or(0), stall);
    fuzz::require(!statistics || (info.memTotalKb && info.memAvailableKb), "statistics only with total and available");
    if (!statistics)
        return 0;
    const auto level = statistics->pressureLevel.value_or(0);
    fuzz::require(level == 1 || level == 2 || level == 4, "pressure level is 1, 2 or 4");

    test::FakeVmStatisticsSource source;
    source.readings = {statistics};
    MemorySampler sampler(source);
    const auto sample = sampler.sample();
    fuzz::require(sample.has_value(), "statistics give a sample");
    fuzz::require(sample->total == statistics->physicalMemoryBytes, "total is the physical memory");
    if (const auto used = memoryUsedFraction(*sample))
        fuzz::require(std::isfinite(*used) && fuzz::isFraction(*used), "used fraction within 0 and 1");
    return 0;
}
