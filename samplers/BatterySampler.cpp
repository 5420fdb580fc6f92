#include "samplers/BatterySampler.h"

#include <algorithm>
#include <cmath>

namespace orbistat {

namespace {

// Plausible power through the battery, watts (exclusive bounds).
constexpr double minimumWatts = 0.05;
constexpr double maximumWatts = 400.0;

// Rounds half away from zero after clamping, so an absurd input can never
// overflow the conversion to an integer.
int64_t roundClamped(double value, double low, double high)
{
    return static_cast<int64_t>(std::round(std::clamp(value, low, high)));
}

} // namespace

BatterySampler::BatterySampler(PowerSourceInfo& sources, BatteryRegistry& registry)
    : sources_(sources)
    , registry_(registry)
{
}

std::optional<BatterySample> BatterySampler::sample()
{
    const auto list = sources_.sources();
    if (!list || list->empty())
        return std::nullopt;

    const PropertyDictionary* battery = nullptr;
    for (const auto& description : *list) {
        if (description && textProperty(*description, QStringLiteral("Type")) == QStringLiteral("InternalBattery")) {
            battery = &*description;
            break;
        }
    }
    if (!battery)
        return std::nullopt;

    const double current = static_cast<double>(integerProperty(*battery, QStringLiteral("Current Capacity")).value_or(0));
    const double max = static_cast<double>(std::max<int64_t>(integerProperty(*battery, QStringLiteral("Max Capacity")).value_or(100), 1));

    BatterySample sample;
    sample.isCharging = boolProperty(*battery, QStringLiteral("Is Charging")).value_or(false);
    sample.isPluggedIn = textProperty(*battery, QStringLiteral("Power Source State")) == QStringLiteral("AC Power");
    const auto minutes = integerProperty(*battery, sample.isCharging ? QStringLiteral("Time to Full Charge") : QStringLiteral("Time to Empty"));
    if (minutes && *minutes >= 0)
        sample.minutesRemaining = minutes;
    sample.percent = roundClamped(current / max * 100.0, 0.0, 100.0);

    addControllerFields(sample);
    return sample;
}

void BatterySampler::addControllerFields(BatterySample& sample)
{
    const auto properties = registry_.properties();
    if (!properties)
        return;
    const auto& table = *properties;

    sample.cycleCount = integerProperty(table, QStringLiteral("CycleCount"));

    const auto design = integerProperty(table, QStringLiteral("DesignCapacity"));
    auto full = integerProperty(table, QStringLiteral("AppleRawMaxCapacity"));
    if (!full)
        full = integerProperty(table, QStringLiteral("MaxCapacity"));
    // A full capacity of a quarter of the design or less is a different
    // unit (a percentage), not a worn battery.
    if (design && full && *design >= 1 && *full > *design / 4) {
        const double health = static_cast<double>(*full) / static_cast<double>(*design) * 100.0;
        sample.healthPercent = roundClamped(health, 0.0, 100.0);
    }

    if (const auto hundredths = integerProperty(table, QStringLiteral("Temperature")); hundredths && *hundredths >= 1)
        sample.temperature = static_cast<double>(*hundredths) / 100.0;

    const auto millivolts = integerProperty(table, QStringLiteral("Voltage"));
    if (!millivolts)
        return;
    auto milliamperes = integerProperty(table, QStringLiteral("Amperage"));
    if (!milliamperes)
        milliamperes = integerProperty(table, QStringLiteral("InstantAmperage"));
    if (!milliamperes)
        return;
    // In floating point: the magnitude of the most negative integer and the
    // product of two large readings do not fit in 64 bits.
    const double watts = static_cast<double>(*millivolts) * std::fabs(static_cast<double>(*milliamperes)) / 1'000'000.0;
    if (watts > minimumWatts && watts < maximumWatts)
        sample.watts = watts;
}

} // namespace orbistat
