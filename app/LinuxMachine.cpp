#include "app/LinuxMachine.h"

#include "samplers/CPUSampler.h"
#include "samplers/LocationAccess.h"
#include "samplers/NetworkInfoSampler.h"

namespace orbistat {

LinuxMachine::LinuxMachine(LinuxRoot root)
    : root_(std::move(root))
    , clock_(root_)
    , sysctl_(root_)
    , cpuTicks_(root_)
    , networkInterfaces_(root_)
    , wifi_(root_)
{
}

MonitorSamplers LinuxMachine::makeSamplers()
{
    MonitorSamplers samplers;
    samplers.cpu = std::make_unique<CPUSampler>(cpuTicks_, sysctl_);
    samplers.networkInfo = std::make_unique<NetworkInfoSampler>(networkInterfaces_, wifi_);
    samplers.location = std::make_unique<LocationAccess>();
    return samplers;
}

} // namespace orbistat
