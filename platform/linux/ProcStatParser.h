// Parser of /proc/stat's per-processor lines.
#pragma once

#include "platform/CpuTicksSource.h"

#include <string_view>

namespace orbistat {

// The "cpuN" lines in file order (the aggregate "cpu" line is not one).
// A line needs its first four numbers (user, nice, system, idle); columns a
// kernel does not have count 0. user = user; nice = nice; system = system +
// irq + softirq + steal; idle = idle + iowait; each truncated to 32 bits
// like the sampler's counters. One cpuN line that does not parse makes the
// whole reading absent: skipping it would renumber the processors after it.
// No cpuN line at all is absent too.
std::optional<std::vector<CpuTicks>> parseProcStat(std::string_view text);

} // namespace orbistat
