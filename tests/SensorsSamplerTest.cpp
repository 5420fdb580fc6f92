#include "doubles/FakeClock.h"
#include "doubles/FakeEnergyChannels.h"
#include "doubles/FakeSMCConnection.h"
#include "doubles/FakeTemperatureServices.h"
#include "samplers/SensorsSampler.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeClock;
using test::FakeEnergyChannels;
using test::FakeSMCConnection;
using test::FakeTemperatureServices;

namespace {

struct SensorsSamplerTest : ::testing::Test {
    SensorsSampler make(bool withSmc, bool withHid, bool withIoReport)
    {
        return SensorsSampler(withSmc ? SMC::open(smc) : nullptr, withHid ? std::make_unique<HIDTemperatureSampler>(hid) : nullptr,
                              withIoReport ? std::make_unique<IOReportSampler>(energy, clock) : nullptr);
    }
    void setHid(std::vector<std::pair<const char*, double>> readings)
    {
        hid.list.emplace();
        for (const auto& [name, value] : readings)
            hid.list->push_back(TemperatureService{QString::fromUtf8(name), value});
    }

    FakeSMCConnection smc;
    FakeTemperatureServices hid;
    FakeEnergyChannels energy;
    FakeClock clock;
};

} // namespace

TEST_F(SensorsSamplerTest, NoSourcesGiveTheEmptySample)
{
    EXPECT_EQ(make(false, false, false).sample(), SensorsSample{});
}

TEST_F(SensorsSamplerTest, ClassifiesServiceReadings)
{
    setHid({{"PMU tdie1", 50}, {"PMU tdie2", 60}, {"GPU SoC hotspot", 45}, {"Battery gas gauge", 31}, {"NAND CH0 temp", 38},
            {"pACC MTR Temp Sum", 70}, {"SOC MTR", 47}, {"BATTERY 2", 33}, {"ambient", 30}});
    smc.setSp78("TC0P", 99.0);  // not asked: the services answered
    auto sampler = make(true, true, false);
    const auto sample = sampler.sample();
    EXPECT_DOUBLE_EQ(*sample.cpu, 60.0);        // (50 + 60 + 70) / 3
    EXPECT_DOUBLE_EQ(*sample.cpuHottest, 70.0);
    EXPECT_DOUBLE_EQ(*sample.gpu, 45.0);
    EXPECT_DOUBLE_EQ(*sample.soc, 46.0);        // GPU SoC hotspot and SOC MTR
    EXPECT_DOUBLE_EQ(*sample.ssd, 38.0);
    EXPECT_DOUBLE_EQ(*sample.battery, 32.0);    // once each, in any letter case
    ASSERT_EQ(sample.all.size(), 9u);
    EXPECT_EQ(sample.all.front(), (TemperatureReading{QStringLiteral("pACC MTR Temp Sum"), 70}));
    EXPECT_EQ(sample.all.back(), (TemperatureReading{QStringLiteral("ambient"), 30}));
    for (const auto& key : smc.requests)
        EXPECT_NE(smcCodeText(key.key), "TC0P");
}

TEST_F(SensorsSamplerTest, EqualReadingsKeepTheirServiceOrder)
{
    setHid({{"b", 40}, {"a", 50}, {"c", 40}, {"d", 50}});
    const auto all = make(false, true, false).sample().all;
    QStringList names;
    for (const auto& reading : all)
        names.append(reading.name);
    EXPECT_EQ(names, (QStringList{"a", "d", "b", "c"}));
}

TEST_F(SensorsSamplerTest, ControllerTemperaturesWhenNoServiceAnswers)
{
    hid.list = {{TemperatureService{QStringLiteral("PMU tdie1"), 0.0}}};  // nothing plausible
    smc.setSp78("TC0P", 0.0);
    smc.setSp78("TC0D", 57.5);
    smc.setSp78("TC0E", 80.0);
    smc.setSp78("TG0P", 150.0 - 1.0 / 256.0 - 22.0);  // 127.996: plausible
    smc.keys["TH0P"] = {"sp78", {0x2A}, std::nullopt};   // too short
    smc.setSp78("TH0a", 36.0);
    smc.setSp78("TB0T", -3.0);
    const auto sample = make(true, true, false).sample();
    EXPECT_EQ(sample.cpu, 57.5);
    EXPECT_EQ(sample.cpuHottest, 57.5);
    EXPECT_NEAR(*sample.gpu, 127.996, 1e-3);
    EXPECT_EQ(sample.ssd, 36.0);
    EXPECT_FALSE(sample.battery);
    EXPECT_FALSE(sample.soc);
    EXPECT_TRUE(sample.all.empty());
}

TEST_F(SensorsSamplerTest, FansAtMostFourWithGapsKept)
{
    smc.setUi8("FNum", 6);
    for (const char* key : {"F0Ac", "F2Ac", "F3Ac", "F4Ac", "F5Ac"})
        smc.setFloat(key, 1200.0f);
    smc.setFloat("F0Mn", 800.0f);
    smc.setFloat("F0Mx", 6000.0f);
    smc.setFloat("F3Ac", 20000.0f);  // too fast to be true
    const auto fans = make(true, false, false).sample().fans;
    const std::vector<FanReading> expected{{0, 1200.0, 800.0, 6000.0}, {2, 1200.0, std::nullopt, std::nullopt}};
    EXPECT_EQ(fans, expected);
}

TEST_F(SensorsSamplerTest, FanLimitsOutsideTheSpeedWindowAreUnreadable)
{
    smc.setUi8("FNum", 3);
    for (const char* key : {"F0Ac", "F1Ac", "F2Ac"})
        smc.setFloat(key, 1500.0f);
    smc.setFloat("F0Mn", -1.0f);       // a driver's "no limit"
    smc.setFloat("F0Mx", 1e19f);       // a huge hwmon value
    smc.setFloat("F1Mn", 0.0f);
    smc.setFloat("F1Mx", 19999.0f);
    smc.setFloat("F2Mn", 20000.0f);
    const auto fans = make(true, false, false).sample().fans;
    const std::vector<FanReading> expected{
        {0, 1500.0, std::nullopt, std::nullopt}, {1, 1500.0, 0.0, 19999.0}, {2, 1500.0, std::nullopt, std::nullopt}};
    EXPECT_EQ(fans, expected);
}

TEST_F(SensorsSamplerTest, FanCountEdges)
{
    struct Case {
        const char* what;
        float count;
        size_t fans;
    };
    for (const Case c : {Case{"none", 0.0f, 0}, Case{"a fraction below one", 0.9f, 0}, Case{"truncated", 2.7f, 2}, Case{"absurd", 1e30f, 4}}) {
        SCOPED_TRACE(c.what);
        smc.keys.clear();
        smc.setFloat("FNum", c.count);
        for (const char* key : {"F0Ac", "F1Ac", "F2Ac", "F3Ac"})
            smc.setFloat(key, 900.0f);
        EXPECT_EQ(make(true, false, false).sample().fans.size(), c.fans);
    }
}

TEST_F(SensorsSamplerTest, PowerWindows)
{
    struct Case {
        float value;
        std::optional<double> expected;
    };
    for (const Case c : {Case{0.02f, std::nullopt}, Case{0.049f, std::nullopt}, Case{0.06f, double(0.06f)}, Case{12.5f, 12.5}, Case{600.0f, std::nullopt}, Case{-8.0f, std::nullopt}}) {
        SCOPED_TRACE(c.value);
        smc.setFloat("PSTR", c.value);
        smc.setFloat("PDTR", c.value);
        const auto sample = make(true, false, false).sample();
        EXPECT_EQ(sample.systemPower, c.expected);
        EXPECT_EQ(sample.adapterPower, c.expected);
    }
}

TEST_F(SensorsSamplerTest, ComponentPowerRepeatsTheLastKnownValue)
{
    const auto gpu = [](int64_t millijoules) {
        return EnergySamples{EnergyChannel{QStringLiteral("g"), QStringLiteral("Energy Model"), QStringLiteral("GPU Energy"), QStringLiteral("mJ"), millijoules, std::nullopt}};
    };
    energy.samples = {gpu(0), gpu(3000), std::nullopt, gpu(4000)};
    auto sampler = make(false, false, true);
    EXPECT_EQ(sampler.sample().components, ComponentPower{});
    clock.advance(2.0);
    EXPECT_EQ(sampler.sample().components, (ComponentPower{std::nullopt, 1.5, std::nullopt, std::nullopt}));
    clock.advance(2.0);
    EXPECT_EQ(sampler.sample().components, (ComponentPower{std::nullopt, 1.5, std::nullopt, std::nullopt}));  // the counters gave nothing
    clock.advance(2.0);
    EXPECT_EQ(sampler.sample().components, (ComponentPower{std::nullopt, 0.25, std::nullopt, std::nullopt}));  // measured since the last good read
}
