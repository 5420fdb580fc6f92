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
#include "platform/linux/NvmlSession.h"
#include "platform/linux/LinuxEnergyChannels.h"
#include "platform/linux/LinuxHwmon.h"
#include "platform/linux/LinuxPowerSupplies.h"
#include "platform/linux/BlueZCentral.h"
#include "platform/linux/LinuxNetworkInterfaces.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/LinuxSMC.h"
#include "platform/linux/LinuxSysctlReader.h"
#include "platform/linux/LinuxUptimeClock.h"
#include "platform/linux/LinuxWifiClient.h"

#include <QDBusConnection>
#include <memory>
#include <vector>

namespace orbistat {

class LinuxMachine {
public:
    // `systemBus` is where UPower and BlueZ are asked (the machine's system
    // bus in the program); `bluetoothctl` the tool for the Bluetooth report.
    // Under a recorded tree neither is consulted.
    // `nvml` loads NVIDIA's library; by default the installed one, and none
    // under a recorded tree (it describes the host's GPUs, not the tree's).
    // The system bus for a root: a recorded tree is another machine, whose
    // services this machine's bus says nothing about, so it is not opened.
    static QDBusConnection systemBusFor(const LinuxRoot& root);

    // `clock`, when given, replaces the machine's own for every adapter
    // (a test's injected clock); it must outlive the machine.
    explicit LinuxMachine(LinuxRoot root, QDBusConnection systemBus = QDBusConnection::systemBus(),
                          QString bluetoothctl = QStringLiteral("bluetoothctl"), NvmlSession::Loader nvml = {},
                          const Clock* clock = nullptr);

    // The NVIDIA library a machine with this root uses by default.
    static NvmlSession::Loader defaultNvmlLoader(const LinuxRoot& root);

    const LinuxRoot& root() const { return root_; }
    const Clock& clock() const { return clock_; }
    MonitorSamplers makeSamplers();

private:
    LinuxRoot root_;
    LinuxUptimeClock uptime_;
    const Clock& clock_;
    LinuxSysctlReader sysctl_;
    LinuxCpuTicksSource cpuTicks_;
    LinuxVmStatisticsSource vmStatistics_;
    LinuxInterfaceCountersSource interfaceCounters_;
    LinuxVolumeCapacitySource volumeCapacity_;
    LinuxDiskTotalsSource diskTotals_;
    LinuxDrmGpuSource drmGpus_;
    // Shared by the load and the energy readers: one session, held only
    // while an NVIDIA GPU is busy.
    NvmlSession nvml_;
    NvmlGpuSource nvidiaGpus_;
    // DRM cards first, then NVIDIA's: the sampler takes the busiest.
    CombinedAcceleratorStatisticsSource gpus_;
    LinuxHwmon hwmon_;
    LinuxPowerSupplies powerSupplies_;
    LinuxSMC smc_;
    LinuxEnergyChannels energy_;
    LinuxNetworkInterfaces networkInterfaces_;
    LinuxWifiClient wifi_;
    QDBusConnection systemBus_;
    QString bluetoothctl_;
    // One per set of samplers made: each Bluetooth reader has its own.
    std::vector<std::unique_ptr<BlueZCentral>> bluetoothCentrals_;
};

} // namespace orbistat
