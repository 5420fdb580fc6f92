// The Linux adapters of one machine (the running one, or a recorded tree),
// and the samplers built on them. Outlives the monitor that owns the
// samplers, since the samplers read through these adapters.
#pragma once

#include "core/SystemMonitor.h"
#include "platform/CombinedAcceleratorStatisticsSource.h"
#include "platform/linux/LinuxCpuTicksSource.h"
#include "platform/linux/LinuxDiskTotalsSource.h"
#include "platform/linux/LinuxDrmGpuSource.h"
#include "platform/linux/LinuxInterfaceCountersSource.h"
#include "platform/linux/LinuxVmStatisticsSource.h"
#include "platform/linux/LinuxVolumeCapacitySource.h"
#include "platform/linux/NvmlGpuSource.h"
#include "platform/linux/LinuxEnergyChannels.h"
#include "platform/linux/LinuxHwmon.h"
#include "platform/linux/LinuxPowerSupplies.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/LinuxSMC.h"
#include "platform/linux/LinuxSysctlReader.h"
#include "platform/linux/LinuxUptimeClock.h"

namespace orbistat {

class LinuxMachine {
public:
    explicit LinuxMachine(LinuxRoot root);

    const LinuxRoot& root() const { return root_; }
    const Clock& clock() const { return clock_; }
    MonitorSamplers makeSamplers();

private:
    LinuxRoot root_;
    LinuxUptimeClock clock_;
    LinuxSysctlReader sysctl_;
    LinuxCpuTicksSource cpuTicks_;
    LinuxVmStatisticsSource vmStatistics_;
    LinuxInterfaceCountersSource interfaceCounters_;
    LinuxVolumeCapacitySource volumeCapacity_;
    LinuxDiskTotalsSource diskTotals_;
    LinuxDrmGpuSource drmGpus_;
    NvmlGpuSource nvidiaGpus_;
    // DRM cards first, then NVIDIA's: the sampler takes the busiest.
    CombinedAcceleratorStatisticsSource gpus_;
    LinuxHwmon hwmon_;
    LinuxPowerSupplies powerSupplies_;
    LinuxSMC smc_;
    LinuxEnergyChannels energy_;
};

} // namespace orbistat
