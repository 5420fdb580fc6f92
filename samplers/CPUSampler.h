// Busy, user and system fractions of the whole machine and of each logical
// processor, from the kernel's cumulative tick counters.
#pragma once

#include "core/CPUSample.h"
#include "platform/CpuTicksSource.h"
#include "platform/SysctlReader.h"

#include <QString>
#include <mutex>
#include <optional>
#include <vector>

namespace orbistat {

class CPUSampler {
public:
    CPUSampler(CpuTicksSource& ticks, const SysctlReader& sysctl);

    // Fractions over the time since the previous call. The first call, and
    // the first after the processor count changed, re-bases and returns
    // zeros; a failed read is absent and keeps the baseline.
    std::optional<CPUSample> sample();

    // The processor's name, else "CPU". Read once, thread-safe.
    QString brandName() const;
    // "10 cores (4P + 6E)", or "8 cores" without two core kinds. Read once,
    // thread-safe.
    QString coreSummary() const;

private:
    CpuTicksSource& ticks_;
    const SysctlReader& sysctl_;
    std::vector<CpuTicks> previous_;

    mutable std::once_flag brandOnce_;
    mutable QString brandName_;
    mutable std::once_flag summaryOnce_;
    mutable QString coreSummary_;
};

} // namespace orbistat
