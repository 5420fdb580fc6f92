// NVIDIA's management library (NVML), loaded at run time: its header is not
// in Debian's free archive, so the few entry points used are declared here,
// and a machine without the library simply has no NVIDIA devices. Every
// entry point returns 0 (NVML_SUCCESS) on success.
#pragma once

#include <functional>
#include <optional>

namespace orbistat {

struct NvmlUtilization {
    unsigned int gpu = 0;     // percent of time a kernel ran
    unsigned int memory = 0;  // percent of time memory was read or written
};

struct NvmlDeviceOpaque;
using NvmlDevice = NvmlDeviceOpaque*;

struct NvmlApi {
    int (*init)() = nullptr;                                    // nvmlInit_v2
    int (*shutdown)() = nullptr;                                // nvmlShutdown
    int (*deviceCount)(unsigned int*) = nullptr;                // nvmlDeviceGetCount_v2
    int (*deviceByIndex)(unsigned int, NvmlDevice*) = nullptr;  // nvmlDeviceGetHandleByIndex_v2
    // The entry points below may be missing from an older library: null
    // then, and each user checks for the ones it needs.
    int (*utilization)(NvmlDevice, NvmlUtilization*) = nullptr;      // nvmlDeviceGetUtilizationRates
    int (*totalEnergy)(NvmlDevice, unsigned long long*) = nullptr;   // nvmlDeviceGetTotalEnergyConsumption, mJ
    std::function<void()> unload;                                    // closes the library
};

// dlopen of libnvidia-ml.so.1 (or `path`) and the look-up of the entry
// points; absent when the library or one of the four basic entry points is
// missing.
std::optional<NvmlApi> loadNvml(const char* path = "libnvidia-ml.so.1");

} // namespace orbistat
