#include "samplers/IOReportSampler.h"

#include <cmath>

namespace orbistat {

namespace {

constexpr double minimumElapsed = 0.1;   // seconds; shorter intervals are all noise
constexpr double maximumWatts = 500.0;   // exclusive

std::optional<double> joulesDivisor(const std::optional<QString>& unit)
{
    if (unit == QStringLiteral("mJ"))
        return 1e3;
    if (unit == QStringLiteral("uJ"))
        return 1e6;
    if (unit == QStringLiteral("nJ"))
        return 1e9;
    return std::nullopt;
}

// The component a channel counts into, by the first rule its name meets.
std::optional<double> ComponentPower::*componentOf(const QString& name)
{
    if (name == QStringLiteral("GPU Energy"))
        return &ComponentPower::gpu;
    if (name.endsWith(QStringLiteral("CPU Energy")))
        return &ComponentPower::cpu;
    if (name.startsWith(QStringLiteral("ANE")))
        return &ComponentPower::ane;
    if (name.startsWith(QStringLiteral("DRAM")))
        return &ComponentPower::dram;
    return nullptr;
}

} // namespace

IOReportSampler::IOReportSampler(EnergyChannels& channels, const Clock& clock)
    : channels_(channels)
    , clock_(clock)
{
}

std::optional<ComponentPower> IOReportSampler::sample()
{
    auto current = channels_.createSamples();
    if (!current)
        return std::nullopt;
    const double now = clock_.now();
    if (!previous_) {
        previous_ = Baseline{std::move(*current), now};
        return std::nullopt;
    }
    const double elapsed = now - previous_->time;
    Baseline next{std::move(*current), now};
    if (!(elapsed > minimumElapsed)) {
        previous_ = std::move(next);
        return std::nullopt;
    }
    const auto delta = channels_.createSamplesDelta(previous_->sample, next.sample);
    previous_ = std::move(next);
    if (!delta)
        return std::nullopt;

    ComponentPower power;
    bool contributed = false;
    for (const auto& channel : *delta) {
        if (channel.group != QStringLiteral("Energy Model") || !channel.name)
            continue;
        const auto divisor = joulesDivisor(channel.unit);
        if (!divisor)
            continue;
        const double watts = static_cast<double>(channel.value) / *divisor / elapsed;
        if (!std::isfinite(watts) || watts < 0.0 || watts >= maximumWatts)
            continue;
        const auto component = componentOf(*channel.name);
        if (!component)
            continue;
        auto& field = power.*component;
        field = field.value_or(0.0) + watts;
        contributed = true;
    }
    if (!contributed)
        return std::nullopt;
    return power;
}

} // namespace orbistat
