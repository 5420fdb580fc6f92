#include "doubles/FakeAcceleratorStatisticsSource.h"
#include "doubles/FakeClock.h"
#include "platform/CombinedAcceleratorStatisticsSource.h"
#include "platform/linux/LinuxDrmGpuSource.h"
#include "platform/linux/NvmlGpuSource.h"
#include "samplers/GPUSampler.h"
#include "TreeReplay.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>

using namespace orbistat;
using test::FakeClock;

namespace {

using Devices = std::vector<std::optional<AcceleratorStatistics>>;

std::optional<double> busiest(const Devices& devices)
{
    test::FakeAcceleratorStatisticsSource source;
    source.devices = devices;
    return GPUSampler(source).sample();
}

void writeFile(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::remove_all(file);
    std::ofstream(file) << text;
}

} // namespace

TEST(GPUSampler, KeyFallbackDivisionClampingAndMaximum)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        Devices devices;
        std::optional<double> expected;
    } cases[] = {
        {"utilization key", {AcceleratorStatistics{{"Device Utilization %", 37}}}, 0.37},
        {"activity key only", {AcceleratorStatistics{{"GPU Activity(%)", 12}}}, 0.12},
        {"utilization key wins", {AcceleratorStatistics{{"GPU Activity(%)", 90}, {"Device Utilization %", 20}}}, 0.2},
        {"NaN is not a number: next key", {AcceleratorStatistics{{"Device Utilization %", nan}, {"GPU Activity(%)", 40}}}, 0.4},
        {"busiest of two", {AcceleratorStatistics{{"Device Utilization %", 10}}, AcceleratorStatistics{{"Device Utilization %", 60}}}, 0.6},
        {"above 100", {AcceleratorStatistics{{"Device Utilization %", 250}}}, 1.0},
        {"negative", {AcceleratorStatistics{{"GPU Activity(%)", -5}}}, 0.0},
        {"neither key", {AcceleratorStatistics{{"Renderer Utilization %", 50}}}, std::nullopt},
        {"no statistics beside a figure", {std::nullopt, AcceleratorStatistics{{"Device Utilization %", 5}}}, 0.05},
        {"no device", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(busiest(c.devices), c.expected);
    }
    test::FakeAcceleratorStatisticsSource failing;
    failing.devices.reset();
    EXPECT_FALSE(GPUSampler(failing).sample());
}

TEST(CombinedAcceleratorStatisticsSource, ListsOneAfterAnother)
{
    test::FakeAcceleratorStatisticsSource a, b, failing;
    a.devices = Devices{AcceleratorStatistics{{"x", 1}}};
    b.devices = Devices{std::nullopt, AcceleratorStatistics{{"y", 2}}};
    failing.devices.reset();
    EXPECT_EQ(CombinedAcceleratorStatisticsSource({&a, &failing, &b}).statistics(),
              (Devices{AcceleratorStatistics{{"x", 1}}, std::nullopt, AcceleratorStatistics{{"y", 2}}}));
    EXPECT_FALSE(CombinedAcceleratorStatisticsSource({&failing}).statistics());
}

TEST(LinuxDrmGpuSource, DisplayCardsOnTrees)
{
    const struct {
        const char* tree;
        Devices devices;
    } cases[] = {
        // card0 (amdgpu); card1 is a compute accelerator, connectors and
        // render nodes are no cards.
        {"desktop-ethernet-amdgpu/t0", {AcceleratorStatistics{{"Device Utilization %", 37}}}},
        // virtio-gpu publishes no figure.
        {"vm/t0", {}},
        // card0 250 (the sampler clamps it); card1's device link dangles;
        // card2 reads -5, which is no figure; card3x is no card; card4's
        // class is garbage.
        {"hostile-io/t0", {AcceleratorStatistics{{"Device Utilization %", 250}}, std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tree);
        FakeClock clock;
        LinuxDrmGpuSource source(LinuxRoot(test::fixture(c.tree), true), clock);
        EXPECT_EQ(source.statistics(), c.devices);
    }
}

TEST(LinuxDrmGpuSource, ResidencyThatGoesBackOrClockThatStandsRebases)
{
    FakeClock clock;
    QTemporaryDir dir;
    const auto tree = test::copyOfTree(dir, "laptop-wifi-zram-nvme/t0");
    const auto residency = tree / "sys/class/drm/card0/gt/gt0/rc6_residency_ms";
    LinuxDrmGpuSource source(LinuxRoot(tree, true), clock);
    auto intelFigure = [&] { return (*source.statistics())[0]; };

    writeFile(residency, "1000\n");
    EXPECT_FALSE(intelFigure());
    writeFile(residency, "500\n");  // the driver was reloaded
    clock.advance(1);
    EXPECT_FALSE(intelFigure());
    writeFile(residency, "500\n");  // fully busy for one second
    clock.advance(1);
    EXPECT_EQ(intelFigure(), (AcceleratorStatistics{{"GPU Activity(%)", 100.0}}));
    writeFile(residency, "600\n");  // no time passed
    EXPECT_FALSE(intelFigure());
    // A card that goes to sleep forgets its baseline.
    writeFile(tree / "sys/class/drm/card0/device/power/runtime_status", "suspended\n");
    clock.advance(1);
    EXPECT_FALSE(intelFigure());
    writeFile(tree / "sys/class/drm/card0/device/power/runtime_status", "active\n");
    writeFile(residency, "700\n");
    clock.advance(1);
    EXPECT_FALSE(intelFigure());
    test::makeUnreadable(residency);
    clock.advance(1);
    EXPECT_FALSE(intelFigure());
}

TEST(NvmlGpuSource, LibraryLoading)
{
    EXPECT_FALSE(loadNvml("/nonexistent/libnvidia-ml.so.1"));
    // A library that exists but is not NVML lacks the entry points.
    EXPECT_FALSE(loadNvml("libm.so.6"));
}
