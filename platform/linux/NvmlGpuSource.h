// Utilization of NVIDIA GPUs through NVML, the driver's management library,
// loaded at run time: no build-time dependency, and a machine without the
// library simply has no NVIDIA devices. Every call's status is checked.
//
// The library is loaded only when sysfs shows an NVIDIA display controller,
// and it is not consulted at all while any of them is runtime-suspended:
// asking NVML about a device wakes it, which drains a laptop's battery for
// nothing. Under a recorded tree it is never consulted: it describes the
// host, not the tree.
#pragma once

#include "platform/AcceleratorStatisticsSource.h"
#include "platform/Clock.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/NvmlLibrary.h"
#include "platform/linux/RescanSchedule.h"

#include <functional>
#include <string>

namespace orbistat {

class NvmlGpuSource final : public AcceleratorStatisticsSource {
public:
    using Loader = std::function<std::optional<NvmlApi>()>;

    // The clock paces the search for NVIDIA devices in sysfs (and another
    // attempt at starting NVML after a failure).
    NvmlGpuSource(const LinuxRoot& root, const Clock& clock, Loader loader = [] { return loadNvml(); });
    ~NvmlGpuSource() override;
    NvmlGpuSource(const NvmlGpuSource&) = delete;
    NvmlGpuSource& operator=(const NvmlGpuSource&) = delete;

    // One "Device Utilization %" per NVML device; an empty list when there
    // is nothing to ask (absent only never: no NVIDIA is an empty list).
    std::optional<std::vector<std::optional<AcceleratorStatistics>>> statistics() override;

private:
    bool ensureStarted();
    bool anyDeviceSuspended() const;

    LinuxRoot root_;
    const Clock& clock_;
    Loader loader_;
    RescanSchedule deviceScan_;
    std::vector<std::string> nvidiaDevices_;  // PCI addresses of display controllers
    std::optional<NvmlApi> api_;
    bool started_ = false;
    bool loadFailed_ = false;
    bool startAttempted_ = false;
};

} // namespace orbistat
