#include "samplers/MemorySampler.h"

#include <algorithm>

namespace orbistat {

MemorySampler::MemorySampler(VmStatisticsSource& statistics)
    : statistics_(statistics)
{
}

MemorySample::Pressure MemorySampler::pressureFor(std::optional<int64_t> level)
{
    if (!level || *level <= 1)
        return MemorySample::Pressure::normal;
    if (*level <= 3)
        return MemorySample::Pressure::warning;
    return MemorySample::Pressure::critical;
}

std::optional<MemorySample> MemorySampler::sample()
{
    const auto stats = statistics_.read();
    if (!stats)
        return std::nullopt;
    MemorySample sample;
    sample.total = stats->physicalMemoryBytes;
    // Purgeable memory is part of the internal figure; the min() keeps an
    // inconsistent reading from wrapping around below zero.
    sample.app = stats->internalBytes - std::min(stats->purgeableBytes, stats->internalBytes);
    sample.wired = stats->wiredBytes;
    sample.compressed = stats->compressorBytes;
    sample.swapUsed = stats->swapUsedBytes.value_or(0);
    sample.pressure = pressureFor(stats->pressureLevel);
    return sample;
}

} // namespace orbistat
