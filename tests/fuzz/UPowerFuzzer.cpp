// libFuzzer target: UPower's device properties as QtDBus decodes them (any
// D-Bus type under any name). Properties: a description never carries a
// level outside what rounding the percentage gives; the accessory list the
// sampler builds from the descriptions has names, levels within 0 and 100,
// and no device twice.
#include "AccessoryChecks.h"
#include "DecodedDBusValues.h"
#include "doubles/FakeAccessorySources.h"
#include "doubles/FakeClock.h"
#include "platform/linux/UPowerPowerSources.h"
#include "samplers/AccessoriesSampler.h"

#include <cmath>

using namespace orbistat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    static const QStringList names = {
        QStringLiteral("Type"), QStringLiteral("Model"), QStringLiteral("Percentage"), QStringLiteral("State"),
        QStringLiteral("PowerSupply"), QStringLiteral("IsPresent"), QStringLiteral("Vendor"), QStringLiteral("NativePath"),
    };
    test::FakePowerSourceList sources;
    while (input.remaining_bytes() > 0 && sources.sources.size() < 8) {
        const auto properties = fuzz::fuzzedProperties(input, names);
        const auto description = UPowerPowerSources::describe(properties);
        if (!description)
            continue;
        const auto current = description->value(QStringLiteral("Current Capacity"));
        if (current.isValid()) {
            const double percentage = properties.value(QStringLiteral("Percentage")).toDouble();
            fuzz::require(current.toLongLong() == std::llround(percentage), "the level is the rounded percentage");
        }
        fuzz::require(description->value(QStringLiteral("Max Capacity")).toLongLong() == 100, "levels are out of 100");
        sources.sources.push_back(*description);
    }

    test::FakeDeviceBatteryRegistry registry;
    test::FakeBluetoothProfiler profiler;
    test::FakeClock clock;
    AccessoriesSampler sampler(sources, registry, profiler, clock);
    fuzz::requireSoundAccessories(sampler.sample());
    return 0;
}
