// Utilization of NVIDIA GPUs through NVML, the driver's management library,
// loaded at run time: no build-time dependency, and a machine without the
// library simply has no NVIDIA devices. Every call's status is checked.
//
// NVML is asked only through the shared session, which is open only while
// a GPU is busy and never touched while one sleeps (see NvmlSession): this
// reader starts each tick's poll and tells the session whether any GPU was
// busy. With no session a tick yields no NVIDIA figure.
#pragma once

#include "platform/AcceleratorStatisticsSource.h"
#include "platform/linux/NvmlSession.h"

namespace orbistat {

class NvmlGpuSource final : public AcceleratorStatisticsSource {
public:
    explicit NvmlGpuSource(NvmlSession& session);

    // One "Device Utilization %" per NVML device; an empty list when there
    // is nothing to ask (absent only never: no NVIDIA is an empty list).
    std::optional<std::vector<std::optional<AcceleratorStatistics>>> statistics() override;

private:
    NvmlSession& session_;
};

} // namespace orbistat
