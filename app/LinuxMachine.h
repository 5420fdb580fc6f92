// The Linux adapters of one machine (the running one, or a recorded tree),
// and the samplers built on them. Outlives the monitor that owns the
// samplers, since the samplers read through these adapters.
#pragma once

#include "core/SystemMonitor.h"
#include "platform/linux/LinuxCpuTicksSource.h"
#include "platform/linux/LinuxNetworkInterfaces.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/LinuxSysctlReader.h"
#include "platform/linux/LinuxUptimeClock.h"
#include "platform/linux/LinuxWifiClient.h"

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
    LinuxNetworkInterfaces networkInterfaces_;
    LinuxWifiClient wifi_;
};

} // namespace orbistat
