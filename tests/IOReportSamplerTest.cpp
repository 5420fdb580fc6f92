#include "doubles/FakeClock.h"
#include "doubles/FakeEnergyChannels.h"
#include "samplers/IOReportSampler.h"

#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeClock;
using test::FakeEnergyChannels;

namespace {

EnergyChannel channel(const char* name, const char* unit, int64_t value, const char* group = "Energy Model")
{
    return EnergyChannel{QString::fromLatin1(name) + QLatin1Char('/') + QLatin1String(unit), QString::fromLatin1(group), QString::fromLatin1(name),
                         QString::fromLatin1(unit), value, std::nullopt};
}

struct IOReportSamplerTest : ::testing::Test {
    // Two samples `seconds` apart; the sampler's answer to the second.
    std::optional<ComponentPower> measure(EnergySamples first, EnergySamples second, double seconds)
    {
        channels.samples.push_back(std::move(first));
        channels.samples.push_back(std::move(second));
        EXPECT_FALSE(sampler.sample());
        clock.advance(seconds);
        return sampler.sample();
    }

    FakeClock clock;
    FakeEnergyChannels channels;
    IOReportSampler sampler{channels, clock};
};

} // namespace

TEST_F(IOReportSamplerTest, GpuEnergyInMillijoulesOverOneSecond)
{
    const auto power = measure({channel("GPU Energy", "mJ", 1000)}, {channel("GPU Energy", "mJ", 3500)}, 1.0);
    ASSERT_TRUE(power);
    EXPECT_EQ(*power, (ComponentPower{std::nullopt, 2.5, std::nullopt, std::nullopt}));
}

TEST_F(IOReportSamplerTest, ChannelNamesUnitsAndWindow)
{
    const EnergySamples first{
        channel("ECPU CPU Energy", "mJ", 0), channel("PCPU CPU Energy", "uJ", 0), channel("GPU Energy SRAM", "mJ", 0),
        channel("ANE0", "nJ", 0), channel("DRAM0", "nJ", 0), channel("DISP", "mJ", 0), channel("CPU Energy", "J", 0),
        channel("CPU Energy", "mJ", 0, "Other Group"), channel("GPU Energy", "mJ", 0), channel("DRAM1", "mJ", 0),
    };
    EnergySamples second = first;
    second[0].value = 3000;           // 1.5 W
    second[1].value = 1'000'000;      // 0.5 W
    second[2].value = 2000;           // not exactly GPU Energy: ignored
    second[3].value = 5'000'000'000;  // 2.5 W in nJ
    second[4].value = 1'000'000'000;  // 0.5 W
    second[5].value = 9000;           // no component
    second[6].value = 9000;           // unknown unit
    second[7].value = 9000;           // another group
    second[8].value = -2000;          // a counter that went backwards: dropped
    second[9].value = 1'000'000;      // 500 W: implausible, dropped
    const auto power = measure(first, second, 2.0);
    ASSERT_TRUE(power);
    EXPECT_EQ(*power, (ComponentPower{2.0, std::nullopt, 2.5, 0.5}));
}

TEST_F(IOReportSamplerTest, ShortIntervalsMoveTheBaseline)
{
    channels.samples = {EnergySamples{channel("GPU Energy", "mJ", 0)}, EnergySamples{channel("GPU Energy", "mJ", 100)},
                        EnergySamples{channel("GPU Energy", "mJ", 1100)}};
    EXPECT_FALSE(sampler.sample());
    clock.advance(0.05);
    EXPECT_FALSE(sampler.sample());
    EXPECT_EQ(channels.deltas, 0);
    clock.advance(1.0);
    // Measured from the second call: 1000 mJ over 1 s.
    EXPECT_EQ(sampler.sample(), (ComponentPower{std::nullopt, 1.0, std::nullopt, std::nullopt}));
}

TEST_F(IOReportSamplerTest, FailuresAndEmptyResults)
{
    // A failed read keeps the baseline.
    channels.samples = {EnergySamples{channel("GPU Energy", "mJ", 0)}, std::nullopt, EnergySamples{channel("GPU Energy", "mJ", 4000)}};
    EXPECT_FALSE(sampler.sample());
    clock.advance(1.0);
    EXPECT_FALSE(sampler.sample());
    clock.advance(1.0);
    EXPECT_EQ(sampler.sample(), (ComponentPower{std::nullopt, 2.0, std::nullopt, std::nullopt}));

    // A failed delta still moves the baseline.
    channels.failDelta = true;
    channels.samples = {EnergySamples{channel("GPU Energy", "mJ", 5000)}};
    clock.advance(1.0);
    EXPECT_FALSE(sampler.sample());
    channels.failDelta = false;
    channels.samples = {EnergySamples{channel("GPU Energy", "mJ", 5500)}};
    clock.advance(1.0);
    EXPECT_EQ(sampler.sample(), (ComponentPower{std::nullopt, 0.5, std::nullopt, std::nullopt}));

    // Nothing that counts: absent, not an all-absent record.
    channels.samples = {EnergySamples{}};
    clock.advance(1.0);
    EXPECT_FALSE(sampler.sample());
}
