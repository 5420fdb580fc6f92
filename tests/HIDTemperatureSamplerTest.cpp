#include "doubles/FakeTemperatureServices.h"
#include "samplers/HIDTemperatureSampler.h"

#include <gtest/gtest.h>
#include <limits>

using namespace orbistat;
using test::FakeTemperatureServices;

TEST(HIDTemperatureSampler, NamesWindowAndOrder)
{
    FakeTemperatureServices services;
    HIDTemperatureSampler sampler(services);
    EXPECT_TRUE(sampler.read().empty());  // services cannot be listed

    const double nan = std::numeric_limits<double>::quiet_NaN();
    services.list = {{
        TemperatureService{std::nullopt, 40.0},                        // 0: no product name
        TemperatureService{QStringLiteral("PMU tdie1"), 0.0},          // 1: 0 is out
        std::nullopt,                                                  // 2: null service
        TemperatureService{std::nullopt, 149.9},                       // 3: named by its own index
        TemperatureService{QStringLiteral("PMU tdie2"), 150.0},        // 4: 150 is out
        TemperatureService{QStringLiteral("NAND CH0"), std::nullopt},  // 5: no event
        TemperatureService{QStringLiteral("gas gauge"), nan},          // 6: not a number
        TemperatureService{QStringLiteral("PMU tdie1"), 51.5},         // 7: a shared name is kept
        TemperatureService{QStringLiteral("PMU tdie1"), -5.0},         // 8: below 0
        TemperatureService{QStringLiteral("PMU tdie1"), std::numeric_limits<double>::infinity()},
    }};
    const std::vector<TemperatureReading> expected{
        {QStringLiteral("Sensor 0"), 40.0},
        {QStringLiteral("Sensor 3"), 149.9},
        {QStringLiteral("PMU tdie1"), 51.5},
    };
    EXPECT_EQ(sampler.read(), expected);
}
