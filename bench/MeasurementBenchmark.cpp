// What one memory, network, disk and GPU sample costs, on a recorded desktop
// tree and on this machine, and a whole monitor tick on that tree (every
// sampler finds its files there).
#include "app/LinuxMachine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "platform/CombinedAcceleratorStatisticsSource.h"
#include "platform/linux/LinuxDiskTotalsSource.h"
#include "platform/linux/LinuxDrmGpuSource.h"
#include "platform/linux/LinuxInterfaceCountersSource.h"
#include "platform/linux/LinuxUptimeClock.h"
#include "platform/linux/LinuxVmStatisticsSource.h"
#include "platform/linux/LinuxVolumeCapacitySource.h"
#include "platform/linux/NvmlGpuSource.h"
#include "samplers/DiskSampler.h"
#include "samplers/GPUSampler.h"
#include "samplers/MemorySampler.h"
#include "samplers/NetworkSampler.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orbistat;

namespace {

LinuxRoot measurementRoot(bool live)
{
    if (live)
        return LinuxRoot("/");
    return LinuxRoot(std::string(ORBISTAT_FIXTURES_DIR) + "/desktop-ethernet-amdgpu/t0");
}

void memorySample(benchmark::State& state, bool live)
{
    const auto root = measurementRoot(live);
    LinuxUptimeClock clock(root);
    LinuxVmStatisticsSource source(root, clock);
    MemorySampler sampler(source);
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample());
}

void networkSample(benchmark::State& state, bool live)
{
    const auto root = measurementRoot(live);
    LinuxUptimeClock clock(root);
    LinuxInterfaceCountersSource source(root);
    NetworkSampler sampler(source, clock);
    sampler.sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample());
}

void diskSample(benchmark::State& state, bool live)
{
    const auto root = measurementRoot(live);
    LinuxUptimeClock clock(root);
    LinuxVolumeCapacitySource capacity(root);
    LinuxDiskTotalsSource totals(root, clock);
    DiskSampler sampler(capacity, totals, clock);
    sampler.sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample());
}

void gpuSample(benchmark::State& state, bool live)
{
    const auto root = measurementRoot(live);
    LinuxUptimeClock clock(root);
    LinuxDrmGpuSource drm(root, clock);
    NvmlSession session(root, clock, LinuxMachine::defaultNvmlLoader(root));
    NvmlGpuSource nvidia(session);
    CombinedAcceleratorStatisticsSource all({&drm, &nvidia});
    GPUSampler sampler(all);
    sampler.sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample());
}

void monitorTickWholeTree(benchmark::State& state)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Orbistat.conf")));
    LinuxMachine machine(measurementRoot(false));
    SystemMonitor monitor(machine.makeSamplers(), settings, machine.clock());
    monitor.tick();
    for (auto _ : state)
        monitor.tick();
}

} // namespace

BENCHMARK_CAPTURE(memorySample, fixture, false);
BENCHMARK_CAPTURE(memorySample, live, true);
BENCHMARK_CAPTURE(networkSample, fixture, false);
BENCHMARK_CAPTURE(networkSample, live, true);
BENCHMARK_CAPTURE(diskSample, fixture, false);
BENCHMARK_CAPTURE(diskSample, live, true);
BENCHMARK_CAPTURE(gpuSample, fixture, false);
BENCHMARK_CAPTURE(gpuSample, live, true);
BENCHMARK(monitorTickWholeTree);
