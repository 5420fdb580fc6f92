#include "app/LinuxMachine.h"

#include "samplers/BatterySampler.h"
#include "samplers/CPUSampler.h"
#include "samplers/SensorsSampler.h"

namespace orbistat {

LinuxMachine::LinuxMachine(LinuxRoot root)
    : root_(std::move(root))
    , clock_(root_)
    , sysctl_(root_)
    , cpuTicks_(root_)
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
    // Unreadable energy counters (root-only on recent kernels) mean no
    // power sampler, and no component power.
    auto ioReport = energy_.hasChannels() ? std::make_unique<IOReportSampler>(energy_, clock_) : nullptr;
    samplers.sensors = std::make_unique<SensorsSampler>(SMC::open(smc_), std::make_unique<HIDTemperatureSampler>(hwmon_), std::move(ioReport));
    samplers.battery = std::make_unique<BatterySampler>(powerSupplies_, powerSupplies_);
    return samplers;
}

} // namespace orbistat
