#include "app/LinuxMachine.h"

#include "samplers/CPUSampler.h"
#include "samplers/DiskSampler.h"
#include "samplers/GPUSampler.h"
#include "samplers/MemorySampler.h"
#include "samplers/NetworkSampler.h"

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
    return samplers;
}

} // namespace orbistat
