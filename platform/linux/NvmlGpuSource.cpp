#include "platform/linux/NvmlGpuSource.h"

#include "platform/linux/LinuxDrmGpuSource.h"
#include "platform/linux/TextParsing.h"

#include <algorithm>

namespace orbistat {

namespace {

constexpr int nvmlSuccess = 0;
constexpr uint64_t nvidiaVendorId = 0x10de;

} // namespace

NvmlGpuSource::NvmlGpuSource(const LinuxRoot& root, const Clock& clock, Loader loader)
    : root_(root)
    , clock_(clock)
    , loader_(std::move(loader))
{
}

NvmlGpuSource::~NvmlGpuSource()
{
    if (!api_)
        return;
    if (started_)
        api_->shutdown();
    if (api_->unload)
        api_->unload();
}

bool NvmlGpuSource::ensureStarted()
{
    if (started_)
        return true;
    if (!api_) {
        // A missing library stays missing: it is looked for once.
        if (loadFailed_)
            return false;
        api_ = loader_();
        // Utilisation is the one optional entry point this source needs.
        if (api_ && !api_->utilization) {
            if (api_->unload)
                api_->unload();
            api_.reset();
        }
        if (!api_) {
            loadFailed_ = true;
            return false;
        }
    }
    // The driver may not be ready yet; another attempt follows the next scan.
    started_ = api_->init() == nvmlSuccess;
    return started_;
}

bool NvmlGpuSource::anyDeviceSuspended() const
{
    for (const auto& address : nvidiaDevices_) {
        if (root_.isRuntimeSuspended("sys/bus/pci/devices/" + address))
            return true;
    }
    return false;
}

std::optional<std::vector<std::optional<AcceleratorStatistics>>> NvmlGpuSource::statistics()
{
    std::vector<std::optional<AcceleratorStatistics>> devices;
    if (root_.isRecorded())
        return devices;

    const bool scanned = deviceScan_.due(clock_.now());
    if (scanned) {
        nvidiaDevices_.clear();
        for (const auto& address : root_.list("sys/bus/pci/devices")) {
            const std::string base = "sys/bus/pci/devices/" + address + "/";
            const auto vendor = root_.readBytes(base + "vendor", 64);
            const auto pciClass = root_.readBytes(base + "class", 64);
            if (vendor && pciClass && parseHexUnsigned(*vendor) == nvidiaVendorId && isDisplayControllerClass(*pciClass))
                nvidiaDevices_.push_back(address);
        }
    }
    // Nothing of NVML is touched, not even its start, while a device sleeps.
    if (nvidiaDevices_.empty() || anyDeviceSuspended())
        return devices;
    if (!started_) {
        // After a failed start, the next attempt waits for the next scan.
        if (startAttempted_ && !scanned)
            return devices;
        startAttempted_ = true;
        if (!ensureStarted())
            return devices;
    }

    unsigned int count = 0;
    if (api_->deviceCount(&count) != nvmlSuccess)
        return devices;
    // No machine holds more; a driver answering nonsense must not make the
    // tick loop for long.
    count = std::min(count, 64u);
    for (unsigned int i = 0; i < count; ++i) {
        NvmlDevice device = nullptr;
        NvmlUtilization rates;
        if (api_->deviceByIndex(i, &device) != nvmlSuccess || api_->utilization(device, &rates) != nvmlSuccess) {
            devices.emplace_back();
            continue;
        }
        devices.push_back(AcceleratorStatistics{{"Device Utilization %", static_cast<double>(rates.gpu)}});
    }
    return devices;
}

} // namespace orbistat
