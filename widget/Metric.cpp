#include "widget/Metric.h"

#include "shared/ByteCountFormatter.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

namespace orbistat::widget {

namespace {

QString localized(const char* text)
{
    return QCoreApplication::translate("Widget", text);
}

// Rounds half away from zero and never writes "-0".
QString roundedNumber(double value)
{
    double rounded = std::round(value);
    if (rounded == 0.0)
        rounded = 0.0;
    return QString::number(rounded, 'f', 0);
}

} // namespace

QString percentText(double fraction)
{
    return roundedNumber(fraction * 100.0) + QLatin1Char('%');
}

QString temperatureText(double celsius)
{
    return roundedNumber(celsius) + QStringLiteral("°C");
}

QString rateText(double bytesPerSecond)
{
    // 2^64 as a double; anything at or above it does not fit the count.
    constexpr double countLimit = 18446744073709551616.0;
    uint64_t bytes = 0;
    if (bytesPerSecond >= countLimit)
        bytes = std::numeric_limits<uint64_t>::max();
    else if (bytesPerSecond > 0)
        bytes = static_cast<uint64_t>(bytesPerSecond);
    return formatByteCount(bytes, ByteCountStyle::file) + QStringLiteral("/s");
}

MetricColor metricColor(double fraction, double warning, double critical)
{
    if (fraction >= critical)
        return MetricColor::red;
    if (fraction >= warning)
        return MetricColor::orange;
    return MetricColor::green;
}

MetricColor batteryColor(int64_t percent, bool charging)
{
    if (charging)
        return MetricColor::green;
    if (percent <= 10)
        return MetricColor::red;
    if (percent <= 20)
        return MetricColor::orange;
    return MetricColor::green;
}

MetricColor temperatureColor(double celsius)
{
    if (celsius >= 90)
        return MetricColor::red;
    if (celsius >= 80)
        return MetricColor::orange;
    return MetricColor::green;
}

namespace {

// What the main program can write: fractions from 0 to 1, battery levels
// from 0 to 100, temperatures inside the sensors' plausibility window. A
// snapshot holding more was not written by it; its values are held to these
// ranges in the texts as the gauges hold them, so nothing prints "inf%" or
// "-273°C".
constexpr double lowestCelsius = 0.0;
constexpr double highestCelsius = 150.0;

double heldFraction(double fraction)
{
    return std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
}

int64_t heldPercent(int64_t percent)
{
    return std::clamp<int64_t>(percent, 0, 100);
}

double heldCelsius(double celsius)
{
    return std::isnan(celsius) ? lowestCelsius : std::clamp(celsius, lowestCelsius, highestCelsius);
}

Metric fractionMetric(const char* id, QString name, const char* symbol, double value, const SharedStats& stats)
{
    const double fraction = heldFraction(value);
    return {QString::fromLatin1(id), std::move(name), QString::fromLatin1(symbol), fraction, percentText(fraction),
            metricColor(fraction, stats.warning, stats.critical)};
}

Metric levelMetric(QString id, QString name, QString symbol, int64_t level, bool charging)
{
    const int64_t percent = heldPercent(level);
    return {std::move(id), std::move(name), std::move(symbol), static_cast<double>(percent) / 100.0,
            QString::number(percent) + QLatin1Char('%'), batteryColor(percent, charging)};
}

} // namespace

Metric cpuMetric(const SharedStats& stats)
{
    return fractionMetric("cpu", QStringLiteral("CPU"), "cpu", stats.cpu, stats);
}

Metric memoryMetric(const SharedStats& stats)
{
    return fractionMetric("mem", localized("Memory"), "memorychip", stats.memory, stats);
}

Metric diskMetric(const SharedStats& stats)
{
    return fractionMetric("disk", localized("Disk"), "internaldrive", stats.disk, stats);
}

Metric gpuMetric(const SharedStats& stats, double gpu)
{
    return fractionMetric("gpu", QStringLiteral("GPU"), "display", gpu, stats);
}

Metric batteryMetric(int64_t percent, std::optional<bool> charging)
{
    const bool isCharging = charging.value_or(false);
    return levelMetric(QStringLiteral("battery"), localized("Battery"),
                       isCharging ? QStringLiteral("battery.100percent.bolt") : QStringLiteral("battery.75percent"), percent,
                       isCharging);
}

Metric temperatureMetric(double value)
{
    const double celsius = heldCelsius(value);
    const double fraction = heldFraction(celsius / temperatureFullScale);
    return {QStringLiteral("temp"), localized("CPU temp"), QStringLiteral("thermometer.medium"), fraction,
            temperatureText(celsius), temperatureColor(celsius)};
}

std::vector<Metric> ringMetrics(const SharedStats& stats)
{
    std::vector<Metric> metrics{cpuMetric(stats), memoryMetric(stats), diskMetric(stats)};
    if (stats.gpu)
        metrics.push_back(gpuMetric(stats, *stats.gpu));
    else if (stats.batteryPercent)
        metrics.push_back(batteryMetric(*stats.batteryPercent, stats.batteryCharging));
    else if (stats.cpuTemperature)
        metrics.push_back(temperatureMetric(*stats.cpuTemperature));
    return metrics;
}

std::vector<Metric> allMetrics(const SharedStats& stats)
{
    std::vector<Metric> metrics{cpuMetric(stats), memoryMetric(stats), diskMetric(stats)};
    if (stats.gpu)
        metrics.push_back(gpuMetric(stats, *stats.gpu));
    if (stats.batteryPercent)
        metrics.push_back(batteryMetric(*stats.batteryPercent, stats.batteryCharging));
    if (stats.cpuTemperature)
        metrics.push_back(temperatureMetric(*stats.cpuTemperature));
    return metrics;
}

std::vector<Metric> deviceMetrics(const SharedStats& stats)
{
    std::vector<Metric> metrics;
    metrics.reserve(stats.accessories.size() + 1);
    if (stats.batteryPercent) {
        Metric mac = batteryMetric(*stats.batteryPercent, stats.batteryCharging);
        mac.id = QStringLiteral("mac");
        mac.name = localized("This computer");
        mac.symbol = QStringLiteral("laptopcomputer");
        metrics.push_back(std::move(mac));
    }
    for (const auto& accessory : stats.accessories)
        metrics.push_back(levelMetric(accessory.name, accessory.name, accessory.symbol, accessory.percent, accessory.isCharging));
    return metrics;
}

} // namespace orbistat::widget
