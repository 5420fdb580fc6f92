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

namespace {

// An NVML stand-in: plain functions over one shared state.
struct FakeNvml {
    static inline int initStatus = 0;
    static inline int countStatus = 0;
    static inline unsigned int count = 0;
    static inline std::vector<int> busy;  // negative: the call fails
    static inline int inits = 0, shutdowns = 0, loads = 0, unloads = 0, utilizationCalls = 0;

    static void reset(unsigned int devices, std::vector<int> figures)
    {
        initStatus = countStatus = 0;
        count = devices;
        busy = std::move(figures);
        inits = shutdowns = loads = unloads = utilizationCalls = 0;
    }

    static std::optional<NvmlApi> load()
    {
        ++loads;
        NvmlApi api;
        api.init = [] { ++inits; return initStatus; };
        api.shutdown = [] { ++shutdowns; return 0; };
        api.deviceCount = [](unsigned int* out) { *out = count; return countStatus; };
        api.deviceByIndex = [](unsigned int index, NvmlDevice* device) {
            *device = reinterpret_cast<NvmlDevice>(static_cast<uintptr_t>(index + 1));
            return index < busy.size() ? 0 : 2;
        };
        api.utilization = [](NvmlDevice device, NvmlUtilization* rates) {
            ++utilizationCalls;
            const int figure = busy[reinterpret_cast<uintptr_t>(device) - 1];
            if (figure < 0)
                return 999;
            rates->gpu = static_cast<unsigned int>(figure);
            return 0;
        };
        api.unload = [] { ++unloads; };
        return api;
    }
};

} // namespace

TEST(NvmlGpuSource, AsksEveryDeviceAndChecksEveryCall)
{
    FakeClock clock;
    QTemporaryDir dir;
    const auto tree = test::copyOfTree(dir, "laptop-wifi-zram-nvme/t0");
    writeFile(tree / "sys/bus/pci/devices/0000:01:00.0/power/runtime_status", "active\n");
    FakeNvml::reset(3, {30, -1});  // the second device fails, the third has no handle
    {
        NvmlGpuSource source(LinuxRoot(tree, false), clock, FakeNvml::load);
        EXPECT_EQ(source.statistics(), (Devices{AcceleratorStatistics{{"Device Utilization %", 30}}, std::nullopt, std::nullopt}));
        FakeNvml::countStatus = 3;
        EXPECT_EQ(source.statistics(), Devices{});
        EXPECT_EQ(FakeNvml::loads, 1);
        EXPECT_EQ(FakeNvml::inits, 1);
    }
    EXPECT_EQ(FakeNvml::shutdowns, 1);
    EXPECT_EQ(FakeNvml::unloads, 1);
}

TEST(NvmlGpuSource, LeavesSleepingAbsentAndRecordedMachinesAlone)
{
    FakeClock clock;
    FakeNvml::reset(1, {50});
    {
        // The laptop's NVIDIA GPU is runtime-suspended: NVML is not even loaded.
        NvmlGpuSource sleeping(LinuxRoot(test::fixture("laptop-wifi-zram-nvme/t0"), false), clock, FakeNvml::load);
        EXPECT_EQ(sleeping.statistics(), Devices{});
        // No NVIDIA device at all.
        NvmlGpuSource none(LinuxRoot(test::fixture("desktop-ethernet-amdgpu/t0"), false), clock, FakeNvml::load);
        EXPECT_EQ(none.statistics(), Devices{});
        // A recorded tree describes another machine than the one NVML sees.
        QTemporaryDir dir;
        const auto tree = test::copyOfTree(dir, "laptop-wifi-zram-nvme/t0");
        writeFile(tree / "sys/bus/pci/devices/0000:01:00.0/power/runtime_status", "active\n");
        NvmlGpuSource recorded(LinuxRoot(tree, true), clock, FakeNvml::load);
        EXPECT_EQ(recorded.statistics(), Devices{});
        EXPECT_EQ(FakeNvml::loads, 0);

        // A library that is missing is looked for once; a start that fails
        // is tried again at the next device scan, not on every call.
        int attempts = 0;
        NvmlGpuSource missing(LinuxRoot(tree, false), clock, [&] { ++attempts; return std::optional<NvmlApi>(); });
        missing.statistics();
        clock.advance(31);
        EXPECT_EQ(missing.statistics(), Devices{});
        EXPECT_EQ(attempts, 1);

        FakeNvml::initStatus = 1;
        NvmlGpuSource late(LinuxRoot(tree, false), clock, FakeNvml::load);
        late.statistics();
        late.statistics();
        EXPECT_EQ(FakeNvml::inits, 1);
        FakeNvml::initStatus = 0;
        clock.advance(31);
        EXPECT_EQ(late.statistics(), (Devices{AcceleratorStatistics{{"Device Utilization %", 50}}}));
    }
    // Shut down only what was started.
    EXPECT_EQ(FakeNvml::shutdowns, 1);
}

TEST(NvmlGpuSource, LibraryLoading)
{
    EXPECT_FALSE(loadNvml("/nonexistent/libnvidia-ml.so.1"));
    // A library that exists but is not NVML lacks the entry points.
    EXPECT_FALSE(loadNvml("libm.so.6"));
}
