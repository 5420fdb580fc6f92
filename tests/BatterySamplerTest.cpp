#include "doubles/FakePowerSources.h"
#include "samplers/BatterySampler.h"

#include <gtest/gtest.h>
#include <limits>

using namespace orbistat;
using test::FakePowerSources;

namespace {

PropertyDictionary internalBattery(PropertyDictionary extra = {})
{
    extra[QStringLiteral("Type")] = QStringLiteral("InternalBattery");
    return extra;
}

struct BatterySamplerTest : ::testing::Test {
    FakePowerSources power;
    BatterySampler sampler{power, power};
};

} // namespace

TEST_F(BatterySamplerTest, AbsentWithoutAnInternalBattery)
{
    EXPECT_FALSE(sampler.sample());  // no information at all
    power.list.emplace();
    EXPECT_FALSE(sampler.sample());  // an empty list
    power.list->push_back(PropertyDictionary{{QStringLiteral("Type"), QStringLiteral("UPS")}});
    power.list->push_back(std::nullopt);
    // "Type" of the wrong kind is no match either.
    power.list->push_back(PropertyDictionary{{QStringLiteral("Type"), int64_t{1}}});
    EXPECT_FALSE(sampler.sample());
}

TEST_F(BatterySamplerTest, TakesTheFirstInternalBatteryAfterOtherSources)
{
    power.list = {{std::nullopt, PropertyDictionary{{QStringLiteral("Type"), QStringLiteral("UPS")}},
                   internalBattery({{QStringLiteral("Current Capacity"), int64_t{40}}}),
                   internalBattery({{QStringLiteral("Current Capacity"), int64_t{90}}})}};
    EXPECT_EQ(sampler.sample()->percent, 40);
}

TEST_F(BatterySamplerTest, PercentDefaultsRoundingAndClamping)
{
    struct Case {
        const char* what;
        PropertyDictionary description;
        int64_t percent;
    };
    const Case cases[] = {
        {"maximum 0 counts as 1, then clamped", {{QStringLiteral("Current Capacity"), int64_t{50}}, {QStringLiteral("Max Capacity"), int64_t{0}}}, 100},
        {"no maximum means 100", {{QStringLiteral("Current Capacity"), int64_t{73}}}, 73},
        {"no current means 0", {}, 0},
        {"halves round away from zero", {{QStringLiteral("Current Capacity"), int64_t{1}}, {QStringLiteral("Max Capacity"), int64_t{8}}}, 13},
        {"a wrongly typed entry takes the default", {{QStringLiteral("Current Capacity"), QStringLiteral("73")}}, 0},
        {"negative current clamps to 0", {{QStringLiteral("Current Capacity"), int64_t{-20}}}, 0},
        {"an absurd current clamps to 100", {{QStringLiteral("Current Capacity"), std::numeric_limits<int64_t>::max()}}, 100},
        {"an absurd negative maximum counts as 1", {{QStringLiteral("Current Capacity"), int64_t{1}}, {QStringLiteral("Max Capacity"), std::numeric_limits<int64_t>::min()}}, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        power.list = {{internalBattery(c.description)}};
        EXPECT_EQ(sampler.sample()->percent, c.percent);
    }
}

TEST_F(BatterySamplerTest, ChargingStateAndTimeRemaining)
{
    power.list = {{internalBattery({{QStringLiteral("Is Charging"), true},
                                    {QStringLiteral("Power Source State"), QStringLiteral("AC Power")},
                                    {QStringLiteral("Time to Full Charge"), int64_t{42}},
                                    {QStringLiteral("Time to Empty"), int64_t{300}}})}};
    auto sample = sampler.sample();
    EXPECT_TRUE(sample->isCharging);
    EXPECT_TRUE(sample->isPluggedIn);
    EXPECT_EQ(sample->minutesRemaining, 42);

    power.list = {{internalBattery({{QStringLiteral("Power Source State"), QStringLiteral("Battery Power")},
                                    {QStringLiteral("Time to Full Charge"), int64_t{42}},
                                    {QStringLiteral("Time to Empty"), int64_t{300}}})}};
    sample = sampler.sample();
    EXPECT_FALSE(sample->isCharging);
    EXPECT_FALSE(sample->isPluggedIn);
    EXPECT_EQ(sample->minutesRemaining, 300);

    power.list = {{internalBattery({{QStringLiteral("Time to Empty"), int64_t{-1}}})}};
    EXPECT_FALSE(sampler.sample()->minutesRemaining);
    // Charging without a time to full: no estimate, even with a time to empty.
    power.list = {{internalBattery({{QStringLiteral("Is Charging"), true}, {QStringLiteral("Time to Empty"), int64_t{300}}})}};
    EXPECT_FALSE(sampler.sample()->minutesRemaining);
}

TEST_F(BatterySamplerTest, ControllerFields)
{
    // The controller's four fields: cycles, health, temperature, watts.
    struct Fields {
        std::optional<int64_t> cycleCount;
        std::optional<int64_t> healthPercent;
        std::optional<double> temperature;
        std::optional<double> watts;
    };
    struct Case {
        const char* what;
        PropertyDictionary registry;
        Fields expected;
    };
    const auto none = std::nullopt;
    const auto i = [](int64_t v) { return PropertyValue{v}; };
    const Case cases[] = {
        {"raw max capacity gives health", {{"DesignCapacity", i(5000)}, {"AppleRawMaxCapacity", i(4600)}, {"MaxCapacity", i(100)}},
         {none, 92, none, none}},
        {"health is rounded, not truncated", {{"DesignCapacity", i(5000)}, {"AppleRawMaxCapacity", i(4590)}}, {none, 92, none, none}},
        {"a percentage max capacity is not a capacity", {{"DesignCapacity", i(5000)}, {"MaxCapacity", i(100)}}, {}},
        {"exactly a quarter of the design is no health", {{"DesignCapacity", i(5000)}, {"AppleRawMaxCapacity", i(1250)}}, {}},
        {"just above a quarter is", {{"DesignCapacity", i(5000)}, {"AppleRawMaxCapacity", i(1251)}}, {none, 25, none, none}},
        {"health is at most 100", {{"DesignCapacity", i(5000)}, {"AppleRawMaxCapacity", i(5200)}}, {none, 100, none, none}},
        {"design 0 gives no health", {{"DesignCapacity", i(0)}, {"AppleRawMaxCapacity", i(5200)}}, {}},
        {"cycles and temperature", {{"CycleCount", i(312)}, {"Temperature", i(3012)}}, {312, none, 30.12, none}},
        {"temperature 0 is none", {{"Temperature", i(0)}}, {}},
        {"12 V discharging 1.5 A", {{"Voltage", i(12000)}, {"Amperage", i(-1500)}}, {none, none, none, 18.0}},
        {"a discharge current stored unsigned", {{"Voltage", i(12000)}, {"Amperage", PropertyValue{static_cast<uint64_t>(-1500)}}}, {none, none, none, 18.0}},
        {"instant amperage when amperage is missing", {{"Voltage", i(12000)}, {"InstantAmperage", i(500)}}, {none, none, none, 6.0}},
        {"no current at all", {{"Voltage", i(12000)}, {"Amperage", i(0)}}, {}},
        {"no voltage", {{"Amperage", i(-1500)}}, {}},
        {"400 W is outside the window", {{"Voltage", i(20000)}, {"Amperage", i(20000)}}, {}},
        {"the most negative current neither crashes nor passes", {{"Voltage", i(12000)}, {"Amperage", i(std::numeric_limits<int64_t>::min())}}, {}},
        {"a huge capacity stays a sane health", {{"DesignCapacity", i(1)}, {"AppleRawMaxCapacity", i(std::numeric_limits<int64_t>::max())}}, {none, 100, none, none}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        power.list = {{internalBattery({{QStringLiteral("Current Capacity"), int64_t{0}}})}};
        power.registry.emplace();
        for (const auto& [key, value] : c.registry)
            (*power.registry)[key] = value;
        const auto sample = sampler.sample();
        EXPECT_EQ(sample->cycleCount, c.expected.cycleCount);
        EXPECT_EQ(sample->healthPercent, c.expected.healthPercent);
        EXPECT_EQ(sample->temperature, c.expected.temperature);
        EXPECT_EQ(sample->watts, c.expected.watts);
    }
}

TEST_F(BatterySamplerTest, MissingControllerKeepsThePowerSourcePart)
{
    power.list = {{internalBattery({{QStringLiteral("Current Capacity"), int64_t{64}}, {QStringLiteral("Time to Empty"), int64_t{120}}})}};
    power.registry.reset();
    const auto sample = sampler.sample();
    ASSERT_TRUE(sample);
    BatterySample expected;
    expected.percent = 64;
    expected.minutesRemaining = 120;
    EXPECT_EQ(*sample, expected);
}
