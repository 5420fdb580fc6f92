#include "app/LinuxMachine.h"

#include "samplers/BatterySampler.h"
#include "samplers/CPUSampler.h"
#include "samplers/DiskSampler.h"
#include "samplers/GPUSampler.h"
#include "samplers/MemorySampler.h"
#include "samplers/NetworkSampler.h"
#include "samplers/SensorsSampler.h"

namespace orbistat {

LinuxMachine::LinuxMachine(LinuxRoot root)
    : root_(std::move(root))
    , clock_(root_)
    , sysctl_(root_)
    , cpuTicks_(root_)
    , vmStatistics_(root_, clock_)
    , interfaceCounters_(root_)
    , volumeCapacity_(root_)
    , diskTotals_(root_, clock_)
    , drmGpus_(root_, clock_)
    , nvidiaGpus_(root_, clock_)
    , gpus_({&drmGpus_, &nvidiaGpus_})
    , hwmon_(root_, clock_)
    , powerSupplies_(root_, clock_)
    , smc_(root_, clock_, hwmon_, powerSupplies_)
    , energy_(root_, clock_)
{
}

MonitorSamplers LinuxMachine::makeSamplers()
{
    MonitorSamplers samplers;
    samplers.cpu = std::make_unique<CPUSampler>(cpuTicks_, sysctl_);
    samplers.memory = std::make_unique<MemorySampler>(vmStatistics_);
    samplers.network = std::make_unique<NetworkSampler>(interfaceCounters_, clock_);
    samplers.disk = std::make_unique<DiskSampler>(volumeCapacity_, diskTotals_, clock_);
    samplers.gpu = std::make_unique<GPUSampler>(gpus_);
    // Unreadable energy counters (root-only on recent kernels) mean no
    // power sampler, and no component power.
    auto ioReport = energy_.hasChannels() ? std::make_unique<IOReportSampler>(energy_, clock_) : nullptr;
    samplers.sensors = std::make_unique<SensorsSampler>(SMC::open(smc_), std::make_unique<HIDTemperatureSampler>(hwmon_), std::move(ioReport));
    samplers.battery = std::make_unique<BatterySampler>(powerSupplies_, powerSupplies_);
    return samplers;
}

} // namespace orbistat
