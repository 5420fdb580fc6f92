#include "core/DemoData.h"
#include "core/DiskSample.h"
#include "core/MemorySample.h"
#include "core/NetworkInfo.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace orbistat;

TEST(MemoryUsedFraction, ZeroTotalCappedSumAndOverflow)
{
    EXPECT_EQ(memoryUsedFraction(MemorySample{}), 0.0);
    EXPECT_EQ(memoryUsedFraction(MemorySample{100, 80, 30, 10, 0, {}}), 1.0);
    EXPECT_EQ(memoryUsedFraction(MemorySample{100, 10, 20, 5, 999, {}}), 0.35) << "swap is not part of it";
    // A sum that wraps 64 bits would read as a tiny fraction.
    EXPECT_FALSE(memoryUsedFraction(MemorySample{100, UINT64_MAX, 2, 0, 0, {}}));
    EXPECT_FALSE(memoryUsedFraction(MemorySample{100, UINT64_MAX - 1, 1, 1, 0, {}}));
}

TEST(DiskUsedFraction, UnknownTotalAndOverfullAvailable)
{
    EXPECT_FALSE(diskUsedFraction(DiskSample{}));
    EXPECT_EQ(diskUsedFraction(DiskSample{100, 150, {}, {}}), 0.0);
    EXPECT_EQ(diskUsedFraction(DiskSample{200, 50, {}, {}}), 0.75);
}

TEST(SignalQuality, Boundaries)
{
    const std::pair<int64_t, const char*> cases[] = {{-50, "Excellent"}, {-51, "Good"}, {-60, "Good"}, {-61, "Fair"}, {-70, "Fair"}, {-71, "Weak"}};
    NetworkInfo info;
    EXPECT_FALSE(signalQuality(info));
    for (const auto& [rssi, text] : cases) {
        info.rssi = rssi;
        EXPECT_EQ(signalQuality(info), QString(text)) << rssi;
    }
}

TEST(DemoData, RecordsAndGeneratedHistories)
{
    const auto demo = makeDemoData();
    EXPECT_EQ(memoryUsedFraction(demo.memory), 0.59375);
    EXPECT_EQ(demo.cpu.perCore.size(), 12u);
    EXPECT_EQ(demo.accessories.size(), 3u);
    EXPECT_EQ(demo.sensors.fans.size(), 1u);
    EXPECT_FALSE(demo.sensors.adapterPower);
    for (const auto& history : demo.histories)
        EXPECT_EQ(history.size(), 60u);
    const auto& cpu = demo.histories[static_cast<size_t>(MonitorHistory::cpu)];
    EXPECT_DOUBLE_EQ(cpu[0], (std::sin(0.4) * 0.6 + std::sin(0.8) * 0.4) * 0.2 + 0.32);
    const auto& power = demo.histories[static_cast<size_t>(MonitorHistory::systemPower)];
    EXPECT_DOUBLE_EQ(power[7], (std::sin(7 / 5.0 + 1.5) * 0.6 + std::sin(7 / 2.3 + 3.0) * 0.4) * 7.0 + 16.0);
}

TEST(DemoData, GeneratedPointsAreClampedToTheirRange)
{
    // Amplitude far above the base: the negative half clamps to 0, and
    // fractions never pass 1.
    const auto points = generatedHistory(0, 0, 10, 0.5, true);
    bool sawZero = false, sawOne = false;
    for (const double p : points) {
        EXPECT_GE(p, 0.0);
        EXPECT_LE(p, 1.0);
        sawZero |= p == 0.0;
        sawOne |= p == 1.0;
    }
    EXPECT_TRUE(sawZero && sawOne);
    for (const double p : generatedHistory(0, 0, 10, 0.5, false))
        EXPECT_GE(p, 0.0);
}
