#include "platform/linux/NvmlGpuSource.h"

namespace orbistat {

namespace {
constexpr int nvmlSuccess = 0;
} // namespace

NvmlGpuSource::NvmlGpuSource(NvmlSession& session)
    : session_(session)
{
}

std::optional<std::vector<std::optional<AcceleratorStatistics>>> NvmlGpuSource::statistics()
{
    std::vector<std::optional<AcceleratorStatistics>> devices;
    if (!session_.begin())
        return devices;
    bool anyBusy = false;
    for (const auto& device : session_.devices()) {
        NvmlUtilization rates;
        if (!device || session_.api().utilization(*device, &rates) != nvmlSuccess) {
            devices.emplace_back();
            continue;
        }
        anyBusy = anyBusy || rates.gpu >= NvmlSession::busyPercent;
        devices.push_back(AcceleratorStatistics{{"Device Utilization %", static_cast<double>(rates.gpu)}});
    }
    session_.endPoll(anyBusy);
    return devices;
}

} // namespace orbistat
