// One displayable value of a widget, the texts and colours it is drawn with,
// and the lists each widget shows.
#pragma once

#include "shared/SharedStats.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace orbistat::widget {

// Severity colour; the palette of the appearance in use resolves it.
enum class MetricColor { green, orange, red };

struct Metric {
    QString id;      // identity within one list
    QString name;    // shown to the user
    QString symbol;  // symbol name
    double fraction = 0.0;  // how full the gauge or bar is, normally 0–1
    QString value;   // "32%", "54°C"
    MetricColor color = MetricColor::green;

    friend bool operator==(const Metric&, const Metric&) = default;
};

// fraction × 100 rounded half away from zero, then "%".
QString percentText(double fraction);
// Degrees rounded to the nearest integer, then "°C".
QString temperatureText(double celsius);
// Whole bytes per second (negative counts as 0, fractions dropped) in the
// decimal file style, then "/s": "1.2 MB/s".
QString rateText(double bytesPerSecond);

// Red from `critical` up, orange from `warning` up, green below.
MetricColor metricColor(double fraction, double warning, double critical);
// Green while charging; else red up to 10 %, orange from 11 to 20 %, green
// above.
MetricColor batteryColor(int64_t percent, bool charging);
// Red from 90 °C, orange from 80 °C, green below.
MetricColor temperatureColor(double celsius);

// Temperatures fill their gauge at this many degrees.
inline constexpr double temperatureFullScale = 110.0;

Metric cpuMetric(const SharedStats& stats);
Metric memoryMetric(const SharedStats& stats);
Metric diskMetric(const SharedStats& stats);
Metric gpuMetric(const SharedStats& stats, double gpu);
// An absent charging state counts as not charging.
Metric batteryMetric(int64_t percent, std::optional<bool> charging);
Metric temperatureMetric(double celsius);

// Small and medium stats widgets: CPU, memory, disk and one more: GPU, else
// battery, else temperature, else nothing.
std::vector<Metric> ringMetrics(const SharedStats& stats);
// Large stats widget: CPU, memory, disk, then GPU, battery and temperature
// when present.
std::vector<Metric> allMetrics(const SharedStats& stats);
// Devices widget: the machine's own battery when it has one, then every
// accessory in the snapshot's order.
std::vector<Metric> deviceMetrics(const SharedStats& stats);

} // namespace orbistat::widget
