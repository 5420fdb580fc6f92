#include "doubles/FakeCpuTicksSource.h"
#include "doubles/FakeSysctlReader.h"
#include "platform/linux/LinuxCpuTicksSource.h"
#include "platform/linux/LinuxSysctlReader.h"
#include "samplers/CPUSampler.h"
#include "TestPaths.h"

#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeCpuTicksSource;
using test::FakeSysctlReader;

namespace {

struct CPUSamplerTest : ::testing::Test {
    FakeCpuTicksSource ticks;
    FakeSysctlReader sysctl;
    CPUSampler sampler{ticks, sysctl};
};

} // namespace

TEST_F(CPUSamplerTest, FirstCallIsAZeroSampleOfTheRightLength)
{
    ticks.readings.push_back(std::vector<CpuTicks>(10, CpuTicks{100, 50, 1000, 5}));
    const auto sample = sampler.sample();
    ASSERT_TRUE(sample);
    EXPECT_EQ(*sample, (CPUSample{0, 0, 0, std::vector<double>(10, 0.0)}));
}

TEST_F(CPUSamplerTest, FractionsAreTickWeightedAndNiceCountsAsUser)
{
    ticks.readings.push_back(std::vector<CpuTicks>{{0, 0, 0, 0}, {0, 0, 0, 0}});
    // Processor 0: 30 user + 10 nice + 20 system of 100. Processor 1: 300
    // idle ticks only. Tick-weighted: 60 busy of 400, not the mean 0.3.
    ticks.readings.push_back(std::vector<CpuTicks>{{30, 20, 40, 10}, {0, 0, 300, 0}});
    sampler.sample();
    const auto sample = sampler.sample();
    ASSERT_TRUE(sample);
    EXPECT_DOUBLE_EQ(sample->perCore[0], 0.6);
    EXPECT_DOUBLE_EQ(sample->perCore[1], 0.0);
    EXPECT_DOUBLE_EQ(sample->total, 60.0 / 400.0);
    EXPECT_DOUBLE_EQ(sample->user, 40.0 / 400.0);
    EXPECT_DOUBLE_EQ(sample->system, 20.0 / 400.0);
    EXPECT_NEAR(sample->user + sample->system, sample->total, 1e-12);
}

TEST_F(CPUSamplerTest, WrappedCountersGiveTheSmallTrueDelta)
{
    ticks.readings.push_back(std::vector<CpuTicks>{{UINT32_MAX - 9, 0, UINT32_MAX - 49, 0}});
    ticks.readings.push_back(std::vector<CpuTicks>{{10, 0, 50, 0}});  // +20 user, +100 idle
    sampler.sample();
    const auto sample = sampler.sample();
    ASSERT_TRUE(sample);
    EXPECT_DOUBLE_EQ(sample->total, 20.0 / 120.0);
}

TEST_F(CPUSamplerTest, IdleIntervalsStayFinite)
{
    ticks.readings.push_back(std::vector<CpuTicks>{{5, 5, 5, 5}, {7, 7, 7, 7}});
    ticks.readings.push_back(std::vector<CpuTicks>{{5, 5, 5, 5}, {7, 7, 7, 7}});
    sampler.sample();
    const auto sample = sampler.sample();
    ASSERT_TRUE(sample);
    EXPECT_EQ(*sample, (CPUSample{0, 0, 0, {0, 0}}));
}

TEST_F(CPUSamplerTest, FailedReadKeepsTheBaselineAndCountChangeRebases)
{
    ticks.readings.push_back(std::vector<CpuTicks>{{0, 0, 0, 0}});
    ticks.readings.push_back(std::nullopt);
    ticks.readings.push_back(std::vector<CpuTicks>{{50, 0, 50, 0}});
    ticks.readings.push_back(std::vector<CpuTicks>{{60, 0, 60, 0}, {1, 1, 1, 1}});  // a CPU came online
    ticks.readings.push_back(std::vector<CpuTicks>{{70, 0, 90, 0}, {2, 1, 2, 1}});
    sampler.sample();
    EXPECT_FALSE(sampler.sample());
    // Measured over the whole gap since the last success.
    EXPECT_DOUBLE_EQ(sampler.sample()->total, 0.5);
    EXPECT_EQ(*sampler.sample(), (CPUSample{0, 0, 0, {0, 0}}));
    const auto after = sampler.sample();
    EXPECT_DOUBLE_EQ(after->perCore[0], 10.0 / 40.0);
    EXPECT_DOUBLE_EQ(after->perCore[1], 0.5);
}

TEST_F(CPUSamplerTest, DescriptionsFallBackAndAreReadOnce)
{
    EXPECT_EQ(sampler.brandName(), "CPU");
    sysctl.integers["hw.logicalcpu"] = 8;
    sysctl.integers["hw.perflevel0.logicalcpu"] = 4;  // efficiency count missing
    EXPECT_EQ(sampler.coreSummary(), "8 cores");
    const int reads = sysctl.reads;
    sysctl.integers["hw.perflevel1.logicalcpu"] = 4;
    sysctl.strings["machdep.cpu.brand_string"] = "Later";
    EXPECT_EQ(sampler.coreSummary(), "8 cores");
    EXPECT_EQ(sampler.brandName(), "CPU");
    EXPECT_EQ(sysctl.reads, reads);
}

TEST(CPUSamplerOnTrees, IntelHybridLaptopBetweenTwoReadings)
{
    // The tree is swapped under a fixed path, as a replay does.
    QTemporaryDir dir;
    const std::filesystem::path link = dir.filePath(QStringLiteral("root")).toStdString();
    std::filesystem::create_directory_symlink(test::fixture("intel-hybrid-laptop/t0"), link);
    LinuxRoot root(link, true);
    LinuxCpuTicksSource ticks(root);
    LinuxSysctlReader sysctl(root);
    CPUSampler sampler(ticks, sysctl);
    ASSERT_TRUE(sampler.sample());
    std::filesystem::remove(link);
    std::filesystem::create_directory_symlink(test::fixture("intel-hybrid-laptop/t1"), link);
    const auto sample = sampler.sample();
    ASSERT_TRUE(sample);
    ASSERT_EQ(sample->perCore.size(), 12u);

    // Processor i moved by 200 ticks: user 10(i+1), nice i mod 2, system
    // 5(i+1) + 1 irq + 1 softirq, idle + 2 iowait the rest.
    double busyAll = 0, userAll = 0;
    for (int i = 0; i < 12; ++i) {
        const double user = 10.0 * (i + 1) + i % 2;
        const double busy = user + 5.0 * (i + 1) + 2;
        EXPECT_DOUBLE_EQ(sample->perCore[i], busy / 200.0) << "cpu" << i;
        busyAll += busy;
        userAll += user;
    }
    EXPECT_DOUBLE_EQ(sample->total, busyAll / 2400.0);
    EXPECT_DOUBLE_EQ(sample->user, userAll / 2400.0);
    EXPECT_EQ(sampler.brandName(), "12th Gen Intel(R) Core(TM) i5-1235U");
    EXPECT_EQ(sampler.coreSummary(), "12 cores (4P + 8E)");
}
