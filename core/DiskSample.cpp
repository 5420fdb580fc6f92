#include "core/DiskSample.h"

#include <algorithm>

namespace orbistat {

std::optional<double> diskUsedFraction(const DiskSample& sample)
{
    if (sample.total == 0)
        return std::nullopt;
    const uint64_t used = sample.total >= sample.available ? sample.total - sample.available : 0;
    return std::min(static_cast<double>(used) / static_cast<double>(sample.total), 1.0);
}

} // namespace orbistat
