#include "core/MemorySample.h"

#include <algorithm>

namespace orbistat {

std::optional<double> memoryUsedFraction(const MemorySample& sample)
{
    if (sample.total == 0)
        return 0.0;
    uint64_t used = 0;
    if (__builtin_add_overflow(sample.app, sample.wired, &used) || __builtin_add_overflow(used, sample.compressed, &used))
        return std::nullopt;
    return std::min(static_cast<double>(used) / static_cast<double>(sample.total), 1.0);
}

} // namespace orbistat
