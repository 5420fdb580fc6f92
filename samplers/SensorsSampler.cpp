#include "samplers/SensorsSampler.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace orbistat {

namespace {

constexpr double minimumCelsius = 0.0;       // exclusive
constexpr double maximumCelsius = 150.0;     // exclusive
constexpr double maximumRPM = 20000.0;       // exclusive
constexpr double minimumWatts = 0.05;        // exclusive
constexpr double maximumWatts = 600.0;       // exclusive
constexpr double maximumFans = 4.0;

// One summary group of the sensor readings: the name tests that admit a
// reading, and where the group's mean (and maximum) go.
struct Group {
    bool (*matches)(const QString& name);
    std::optional<double> SensorsSample::*mean;
    std::optional<double> SensorsSample::*maximum;
};

bool isCpu(const QString& name)
{
    return name.contains(QStringLiteral("tdie")) || name.contains(QStringLiteral("pACC")) || name.contains(QStringLiteral("eACC"))
        || name.contains(QStringLiteral("CPU"));
}
bool isGpu(const QString& name) { return name.contains(QStringLiteral("GPU")); }
bool isSoc(const QString& name) { return name.contains(QStringLiteral("SOC")) || name.contains(QStringLiteral("SoC")); }
bool isStorage(const QString& name) { return name.contains(QStringLiteral("NAND")); }
bool isBattery(const QString& name)
{
    return name.contains(QStringLiteral("battery"), Qt::CaseInsensitive) || name.contains(QStringLiteral("gas gauge"));
}

const Group groups[] = {
    {isCpu, &SensorsSample::cpu, &SensorsSample::cpuHottest},
    {isGpu, &SensorsSample::gpu, nullptr},
    {isSoc, &SensorsSample::soc, nullptr},
    {isStorage, &SensorsSample::ssd, nullptr},
    {isBattery, &SensorsSample::battery, nullptr},
};

} // namespace

SensorsSampler::SensorsSampler(std::unique_ptr<SMC> smc, std::unique_ptr<HIDTemperatureSampler> hid, std::unique_ptr<IOReportSampler> ioReport)
    : smc_(std::move(smc))
    , hid_(std::move(hid))
    , ioReport_(std::move(ioReport))
{
}

SensorsSampler::~SensorsSampler() = default;

SensorsSample SensorsSampler::sample()
{
    SensorsSample sample;
    const auto readings = hid_ ? hid_->read() : std::vector<TemperatureReading>{};
    if (!readings.empty())
        classify(readings, sample);
    else if (smc_)
        readControllerTemperatures(sample);

    sample.fans = readFans();
    if (smc_) {
        sample.systemPower = powerValue("PSTR");
        sample.adapterPower = powerValue("PDTR");
    }
    if (ioReport_) {
        if (auto power = ioReport_->sample())
            lastComponents_ = *power;
    }
    sample.components = lastComponents_;
    return sample;
}

void SensorsSampler::classify(const std::vector<TemperatureReading>& readings, SensorsSample& sample) const
{
    for (const auto& group : groups) {
        double sum = 0.0;
        double hottest = 0.0;
        size_t count = 0;
        for (const auto& reading : readings) {
            if (!group.matches(reading.name))
                continue;
            sum += reading.value;
            hottest = count == 0 ? reading.value : std::max(hottest, reading.value);
            ++count;
        }
        if (count == 0)
            continue;
        sample.*group.mean = sum / static_cast<double>(count);
        if (group.maximum)
            sample.*group.maximum = hottest;
    }
    sample.all = readings;
    std::stable_sort(sample.all.begin(), sample.all.end(), [](const auto& a, const auto& b) { return a.value > b.value; });
}

std::optional<double> SensorsSampler::firstValidTemperature(std::initializer_list<const char*> keys)
{
    for (const char* key : keys) {
        const auto value = smc_->readValue(key);
        if (value && *value > minimumCelsius && *value < maximumCelsius)
            return value;
    }
    return std::nullopt;
}

void SensorsSampler::readControllerTemperatures(SensorsSample& sample)
{
    sample.cpu = firstValidTemperature({"TC0P", "TC0D", "TC0E", "TC0F"});
    sample.cpuHottest = sample.cpu;
    sample.gpu = firstValidTemperature({"TG0P", "TG0D"});
    sample.ssd = firstValidTemperature({"TH0P", "TH0a"});
    sample.battery = firstValidTemperature({"TB0T"});
}

std::optional<double> SensorsSampler::fanSpeed(const std::string& key)
{
    // The limits are speeds too: outside the window they are unreadable,
    // not a fan that may turn backwards or faster than any does.
    const auto value = smc_->readValue(key);
    if (!value || *value < 0.0 || *value >= maximumRPM)
        return std::nullopt;
    return value;
}

std::vector<FanReading> SensorsSampler::readFans()
{
    std::vector<FanReading> fans;
    if (!smc_)
        return fans;
    const auto number = smc_->readValue("FNum");
    if (!number || *number < 1.0)
        return fans;
    // Clamped before the conversion, so an absurd count cannot overflow it.
    const auto count = static_cast<int64_t>(std::min(*number, maximumFans));
    for (int64_t i = 0; i < count; ++i) {
        const std::string index = std::to_string(i);
        const auto rpm = smc_->readValue("F" + index + "Ac");
        // A fan that does not answer leaves a gap: ids are not renumbered.
        if (!rpm || *rpm < 0.0 || *rpm >= maximumRPM)
            continue;
        fans.push_back(FanReading{i, *rpm, fanSpeed("F" + index + "Mn"), fanSpeed("F" + index + "Mx")});
    }
    return fans;
}

std::optional<double> SensorsSampler::powerValue(const char* key)
{
    const auto value = smc_->readValue(key);
    if (value && *value > minimumWatts && *value < maximumWatts)
        return value;
    return std::nullopt;
}

} // namespace orbistat
