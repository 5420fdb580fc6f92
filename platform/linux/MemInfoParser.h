// Parsers of /proc/meminfo, /proc/pressure/memory and zram's mm_stat, and
// the mapping of their figures onto the VM statistics the memory sampler
// reads.
#pragma once

#include "platform/VmStatisticsSource.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace orbistat {

// The /proc/meminfo lines the memory figures use, in kB as the kernel
// writes them. A line that is missing or not a number is absent.
struct MemInfo {
    std::optional<uint64_t> memTotalKb;
    std::optional<uint64_t> memAvailableKb;
    std::optional<uint64_t> swapTotalKb;
    std::optional<uint64_t> swapFreeKb;
    std::optional<uint64_t> zswapKb;
    std::optional<uint64_t> sUnreclaimKb;
    std::optional<uint64_t> kernelStackKb;
    std::optional<uint64_t> pageTablesKb;
};

MemInfo parseMemInfo(std::string_view text);

// The ten-second averages of /proc/pressure/memory, in percent of time:
// "some" tasks stalled, and "full" (all non-idle tasks stalled).
struct PressureStall {
    std::optional<double> someAvg10;
    std::optional<double> fullAvg10;
};

PressureStall parsePressureStall(std::string_view text);

// The third field of a zram device's mm_stat: bytes of memory the device
// uses for its compressed pages, overhead included.
std::optional<uint64_t> parseZramMemUsedBytes(std::string_view text);

// 4 when "full" stalls reach 10 % or less than 5 % of memory is available;
// else 2 when "some" stalls reach 10 % or less than 10 % is available; else
// 1. Without stall figures, the available-memory rules alone.
int64_t memoryPressureLevel(uint64_t totalKb, uint64_t availableKb, const PressureStall& stall);

// used = MemTotal - MemAvailable, split into wired (SUnreclaim, KernelStack,
// PageTables), compressed (Zswap pool + zram) and the rest, the internal
// figure (never below 0; nothing is purgeable). So app + wired + compressed
// is the "used" of free(1). Swap = SwapTotal - SwapFree. Absent without
// MemTotal or MemAvailable.
std::optional<VmStatistics> vmStatisticsFromMemInfo(const MemInfo& info, uint64_t zramBytes, const PressureStall& stall);

} // namespace orbistat
