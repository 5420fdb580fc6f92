// The monitor's memory, network, disk and GPU steps, over test doubles.
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeAcceleratorStatisticsSource.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeCpuTicksSource.h"
#include "doubles/FakeDiskSources.h"
#include "doubles/FakeInterfaceCountersSource.h"
#include "doubles/FakeSysctlReader.h"
#include "doubles/FakeVmStatisticsSource.h"
#include "samplers/CPUSampler.h"
#include "samplers/DiskSampler.h"
#include "samplers/GPUSampler.h"
#include "samplers/MemorySampler.h"
#include "samplers/NetworkSampler.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat;

namespace {

struct MonitorMeasurementSteps : ::testing::Test {
    test::FakeClock clock;
    test::FakeCpuTicksSource ticks;
    test::FakeSysctlReader sysctl;
    test::FakeVmStatisticsSource vm;
    test::FakeInterfaceCountersSource interfaces;
    test::FakeVolumeCapacitySource capacity;
    test::FakeDiskTotalsSource diskTotals;
    test::FakeAcceleratorStatisticsSource gpus;
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};
    std::unique_ptr<SystemMonitor> monitor;

    void SetUp() override
    {
        MonitorSamplers samplers;
        samplers.cpu = std::make_unique<CPUSampler>(ticks, sysctl);
        samplers.memory = std::make_unique<MemorySampler>(vm);
        samplers.network = std::make_unique<NetworkSampler>(interfaces, clock);
        samplers.disk = std::make_unique<DiskSampler>(capacity, diskTotals, clock);
        samplers.gpu = std::make_unique<GPUSampler>(gpus);
        monitor = std::make_unique<SystemMonitor>(std::move(samplers), settings, clock);
        interfaces.flagsByName["en0"] = {true, true};
    }

    const std::vector<double>& history(MonitorHistory which) const { return monitor->history(which); }

    static VmStatistics memory(uint64_t total, uint64_t internal, uint64_t wired, uint64_t compressed)
    {
        VmStatistics stats;
        stats.physicalMemoryBytes = total;
        stats.internalBytes = internal;
        stats.wiredBytes = wired;
        stats.compressorBytes = compressed;
        return stats;
    }
};

} // namespace

TEST_F(MonitorMeasurementSteps, MachineWithoutGpuOrDiskCountersAndMissingMemory)
{
    for (uint32_t i = 0; i < 3; ++i)
        ticks.readings.push_back(std::vector<CpuTicks>{{10 * i, 0, 10 * i, 0}});
    vm.readings.push_back(memory(1000, 300, 100, 100));
    vm.readings.push_back(std::nullopt);
    // A sum that overflows 64 bits is no fraction: stored, but no point.
    vm.readings.push_back(memory(1000, UINT64_MAX, 1, 0));
    for (int i = 0; i < 3; ++i) {
        monitor->tick();
        clock.advance(2);
    }

    EXPECT_EQ(history(MonitorHistory::cpu).size(), 3u);
    EXPECT_FALSE(monitor->gpu());
    EXPECT_TRUE(history(MonitorHistory::gpu).empty());
    // Rates the disk sampler cannot measure are 0 points.
    EXPECT_EQ(history(MonitorHistory::diskRead), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(history(MonitorHistory::diskWrite), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(history(MonitorHistory::memory), (std::vector<double>{0.5}));
    EXPECT_EQ(monitor->memory().app, UINT64_MAX);
    // No interface list: the network keeps its initial zeros, no point.
    EXPECT_TRUE(history(MonitorHistory::download).empty());
    EXPECT_EQ(monitor->network(), (NetworkSample{0, 0}));
}

TEST_F(MonitorMeasurementSteps, RatesReachTheirHistories)
{
    interfaces.readings.push_back(std::vector<InterfaceCounters>{{"en0", 0, 0}});
    interfaces.readings.push_back(std::nullopt);  // the old value stays
    interfaces.readings.push_back(std::vector<InterfaceCounters>{{"en0", 4000, 800}});
    diskTotals.readings.push_back(DiskTotals{0, 0});
    diskTotals.readings.push_back(DiskTotals{2000, 4000});
    diskTotals.readings.push_back(DiskTotals{2000, 4000});
    capacity.capacity = VolumeCapacity{100, 25};
    for (int i = 0; i < 3; ++i) {
        monitor->tick();
        clock.advance(2);
    }
    EXPECT_EQ(history(MonitorHistory::download), (std::vector<double>{0, 1000}));
    EXPECT_EQ(history(MonitorHistory::upload), (std::vector<double>{0, 200}));
    EXPECT_EQ(history(MonitorHistory::diskRead), (std::vector<double>{0, 1000, 0}));
    EXPECT_EQ(history(MonitorHistory::diskWrite), (std::vector<double>{0, 2000, 0}));
    EXPECT_EQ(monitor->disk(), (DiskSample{100, 25, 0.0, 0.0}));
}

TEST_F(MonitorMeasurementSteps, GpuNotifiesOnlyWhenItsValueChanges)
{
    QSignalSpy gpuChanged(monitor.get(), &SystemMonitor::gpuChanged);
    QSignalSpy diskChanged(monitor.get(), &SystemMonitor::diskChanged);
    gpus.devices = std::vector<std::optional<AcceleratorStatistics>>{AcceleratorStatistics{{"Device Utilization %", 40}}};
    monitor->tick();
    monitor->tick();
    gpus.devices = std::vector<std::optional<AcceleratorStatistics>>{};
    monitor->tick();
    monitor->tick();
    EXPECT_EQ(gpuChanged.count(), 2);  // 0.4, then absent
    EXPECT_EQ(diskChanged.count(), 4);  // the disk notifies on every write
    EXPECT_FALSE(monitor->gpu());
    EXPECT_EQ(history(MonitorHistory::gpu), (std::vector<double>{0.4, 0.4}));
}
