#include "doubles/FakeClock.h"
#include "doubles/FakeVmStatisticsSource.h"
#include "platform/linux/LinuxVmStatisticsSource.h"
#include "platform/linux/MemInfoParser.h"
#include "samplers/MemorySampler.h"
#include "TreeReplay.h"

#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeVmStatisticsSource;

namespace {

constexpr uint64_t KiB = 1024;

struct MemorySamplerTest : ::testing::Test {
    FakeVmStatisticsSource source;
    MemorySampler sampler{source};
};

} // namespace

TEST_F(MemorySamplerTest, CopiesFiguresAndNeverWrapsApp)
{
    VmStatistics stats;
    stats.physicalMemoryBytes = 16 * KiB;
    stats.internalBytes = 5 * KiB;
    stats.purgeableBytes = 2 * KiB;
    stats.wiredBytes = 3 * KiB;
    stats.compressorBytes = 1 * KiB;
    stats.swapUsedBytes = 7 * KiB;
    stats.pressureLevel = 2;
    source.readings.push_back(stats);
    // More purgeable than internal: app is 0, not a value near 2^64.
    stats.purgeableBytes = 9 * KiB;
    stats.swapUsedBytes.reset();
    stats.pressureLevel.reset();
    source.readings.push_back(stats);

    EXPECT_EQ(sampler.sample(), (MemorySample{16 * KiB, 3 * KiB, 3 * KiB, 1 * KiB, 7 * KiB, MemorySample::Pressure::warning}));
    // Unreadable swap is 0 and unreadable pressure is normal; the sample stays.
    EXPECT_EQ(sampler.sample(), (MemorySample{16 * KiB, 0, 3 * KiB, 1 * KiB, 0, MemorySample::Pressure::normal}));
    // Statistics that cannot be read: no sample.
    EXPECT_FALSE(sampler.sample());
}

TEST(MemoryPressureMapping, LevelsMapOntoThreeStates)
{
    using P = MemorySample::Pressure;
    const std::pair<std::optional<int64_t>, P> cases[] = {
        {std::nullopt, P::normal}, {-7, P::normal}, {0, P::normal}, {1, P::normal}, {2, P::warning},
        {3, P::warning},           {4, P::critical}, {5, P::critical}, {INT64_MAX, P::critical},
    };
    for (const auto& [level, expected] : cases) {
        SCOPED_TRACE(level ? std::to_string(*level) : "absent");
        EXPECT_EQ(MemorySampler::pressureFor(level), expected);
    }
}

TEST(MemInfoParser, ReadsTheLinesItNeedsAndRejectsDoubtfulOnes)
{
    const auto info = parseMemInfo("MemTotal:       16318428 kB\n"
                                   "MemAvailable:    9876544 kB\n"
                                   "SwapTotal:      12abc kB\n"     // not a number
                                   "SwapFree:        8126460\n"     // no unit
                                   "Zswap:\n"                       // cut short
                                   "SUnreclaim:      -5 kB\n"
                                   "KernelStack:      18880 kB\n"
                                   "MemTotal:        1 kB\n"        // a repeat does not replace
                                   "PageTables:       61220 kB");   // no final newline
    EXPECT_EQ(info.memTotalKb, 16318428u);
    EXPECT_EQ(info.memAvailableKb, 9876544u);
    EXPECT_FALSE(info.swapTotalKb);
    EXPECT_FALSE(info.swapFreeKb);
    EXPECT_FALSE(info.zswapKb);
    EXPECT_FALSE(info.sUnreclaimKb);
    EXPECT_EQ(info.kernelStackKb, 18880u);
    EXPECT_EQ(info.pageTablesKb, 61220u);
}

TEST(MemInfoParser, PressureStallAndZram)
{
    const auto stall = parsePressureStall("some avg10=12.31 avg60=4.02 avg300=1.10 total=83234567\n"
                                          "full avg10=3.05 avg60=0.80 avg300=0.20 total=10834567\n");
    EXPECT_EQ(stall.someAvg10, 12.31);
    EXPECT_EQ(stall.fullAvg10, 3.05);
    const auto broken = parsePressureStall("some avg10=nan avg60=0\nfull avg10=-3\nfull\nsome avg1=50\n");
    EXPECT_FALSE(broken.someAvg10);
    EXPECT_FALSE(broken.fullAvg10);

    EXPECT_EQ(parseZramMemUsedBytes(" 268435456  67108864  70254592        0  72351744     1203        0      412      0\n"), 70254592u);
    EXPECT_FALSE(parseZramMemUsedBytes("12 34\n"));
    EXPECT_FALSE(parseZramMemUsedBytes("1 2 99999999999999999999999 4\n"));
}

TEST(MemInfoParser, PressureLevelFromStallsAndAvailableMemory)
{
    struct Case {
        const char* name;
        uint64_t availableKb;  // of 1000000
        std::optional<double> some, full;
        int64_t level;
    };
    const Case cases[] = {
        {"calm", 500000, 0.5, 0.1, 1},
        {"some stalls at the threshold", 500000, 10.0, 0.0, 2},
        {"full stalls at the threshold", 500000, 10.0, 10.0, 4},
        {"just under 10 % available", 99999, std::nullopt, std::nullopt, 2},
        {"exactly 10 % available", 100000, std::nullopt, std::nullopt, 1},
        {"under 5 % available, calm stalls", 49999, 0.0, 0.0, 4},
        {"nothing available", 0, std::nullopt, std::nullopt, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(memoryPressureLevel(1000000, c.availableKb, PressureStall{c.some, c.full}), c.level);
    }
}

TEST(MemInfoParser, UsedMemoryIsSplitWithoutGoingBelowZero)
{
    MemInfo info;
    info.memTotalKb = 1000;
    info.memAvailableKb = 400;
    info.zswapKb = 50;
    info.sUnreclaimKb = 100;
    info.kernelStackKb = 20;
    info.pageTablesKb = 30;
    info.swapTotalKb = 500;
    info.swapFreeKb = 200;
    auto stats = vmStatisticsFromMemInfo(info, 25 * KiB, {});
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->physicalMemoryBytes, 1000 * KiB);
    EXPECT_EQ(stats->wiredBytes, 150 * KiB);
    EXPECT_EQ(stats->compressorBytes, 75 * KiB);
    EXPECT_EQ(stats->internalBytes, (600 - 150 - 75) * KiB);
    EXPECT_EQ(stats->purgeableBytes, 0u);
    EXPECT_EQ(stats->swapUsedBytes, 300 * KiB);
    EXPECT_EQ(stats->pressureLevel, 1);

    // Kernel memory larger than what is used, and more available than
    // installed: every figure stays at or above 0.
    info.memAvailableKb = 2000;
    info.swapFreeKb = 900;
    stats = vmStatisticsFromMemInfo(info, 0, {});
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->internalBytes, 0u);
    EXPECT_EQ(stats->swapUsedBytes, 0u);

    // A kB figure beyond 64 bits in bytes is no reading; the total is needed.
    info.memTotalKb = UINT64_MAX / 512;
    EXPECT_FALSE(vmStatisticsFromMemInfo(info, 0, {}));
    info.memTotalKb = 1000;
    info.memAvailableKb.reset();
    EXPECT_FALSE(vmStatisticsFromMemInfo(info, 0, {}));
}

TEST(LinuxVmStatisticsSource, UnreadableFilesFollowTheFailureRules)
{
    test::FakeClock clock;
    QTemporaryDir dir;
    const auto tree = test::copyOfTree(dir, "laptop-wifi-zram-nvme/t1");
    LinuxRoot root(tree, true);
    LinuxVmStatisticsSource source(root, clock);

    // Unreadable stall figures and zram: the available-memory rule alone
    // decides the level, and the compressor holds nothing we can see.
    test::makeUnreadable(tree / "proc/pressure/memory");
    test::makeUnreadable(tree / "sys/block/zram0/mm_stat");
    auto stats = source.read();
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->pressureLevel, 1);
    EXPECT_EQ(stats->compressorBytes, 0u);

    test::makeUnreadable(tree / "proc/meminfo");
    EXPECT_FALSE(source.read());
}
