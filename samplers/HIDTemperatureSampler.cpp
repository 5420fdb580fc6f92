#include "samplers/HIDTemperatureSampler.h"

#include <cmath>

namespace orbistat {

namespace {
constexpr double minimumCelsius = 0.0;    // exclusive
constexpr double maximumCelsius = 150.0;  // exclusive
} // namespace

HIDTemperatureSampler::HIDTemperatureSampler(TemperatureServices& services)
    : services_(services)
{
}

std::vector<TemperatureReading> HIDTemperatureSampler::read()
{
    std::vector<TemperatureReading> readings;
    const auto services = services_.services();
    if (!services)
        return readings;
    for (size_t i = 0; i < services->size(); ++i) {
        const auto& service = (*services)[i];
        if (!service)
            continue;
        // The index names the service by its place in the list, null
        // entries included, so names stay put when one service vanishes.
        QString name = service->product.value_or(QStringLiteral("Sensor %1").arg(i));
        if (!service->temperature)
            continue;
        const double value = *service->temperature;
        if (std::isfinite(value) && value > minimumCelsius && value < maximumCelsius)
            readings.push_back(TemperatureReading{std::move(name), value});
    }
    return readings;
}

} // namespace orbistat
