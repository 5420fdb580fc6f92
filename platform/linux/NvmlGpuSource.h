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
#include "platform/linux/RescanSchedule.h"

#include <functional>
#include <string>

namespace orbistat {

// The few NVML entry points used, declared here because the header is not
// in Debian's free archive. All return 0 (NVML_SUCCESS) on success.
struct NvmlUtilization {
    unsigned int gpu = 0;     // percent of time a kernel ran
    unsigned int memory = 0;  // percent of time memory was read or written
};
struct NvmlDeviceOpaque;
using NvmlDevice = NvmlDeviceOpaque*;

struct NvmlApi {
    int (*init)() = nullptr;                                         // nvmlInit_v2
    int (*shutdown)() = nullptr;                                     // nvmlShutdown
    int (*deviceCount)(unsigned int*) = nullptr;                     // nvmlDeviceGetCount_v2
    int (*deviceByIndex)(unsigned int, NvmlDevice*) = nullptr;       // nvmlDeviceGetHandleByIndex_v2
    int (*utilization)(NvmlDevice, NvmlUtilization*) = nullptr;      // nvmlDeviceGetUtilizationRates
    std::function<void()> unload;                                    // closes the library
};

// dlopen of libnvidia-ml.so.1 (or `path`) and the look-up of every entry
// point; absent when the library or any entry point is missing.
std::optional<NvmlApi> loadNvml(const char* path = "libnvidia-ml.so.1");

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
