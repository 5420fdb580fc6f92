#include "app/LinuxMachine.h"

#include "samplers/CPUSampler.h"

namespace orbistat {

LinuxMachine::LinuxMachine(LinuxRoot root)
    : root_(std::move(root))
    , clock_(root_)
    , sysctl_(root_)
    , cpuTicks_(root_)
{
}

MonitorSamplers LinuxMachine::makeSamplers()
{
    MonitorSamplers samplers;
    samplers.cpu = std::make_unique<CPUSampler>(cpuTicks_, sysctl_);
    return samplers;
}

} // namespace orbistat
