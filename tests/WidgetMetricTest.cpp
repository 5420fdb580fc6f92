#include "shared/ByteCountFormatter.h"
#include "widget/Metric.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

using namespace orbistat;
using namespace orbistat::widget;

namespace {

SharedStats baseStats()
{
    SharedStats stats;
    stats.cpu = 0.32;
    stats.memory = 0.61;
    stats.disk = 0.58;
    stats.warning = 0.75;
    stats.critical = 0.9;
    return stats;
}

QStringList ids(const std::vector<Metric>& metrics)
{
    QStringList list;
    for (const auto& metric : metrics)
        list << metric.id;
    return list;
}

} // namespace

TEST(WidgetMetric, TextsRoundAndFormatAsShown)
{
    struct Case {
        QString actual;
        const char* expected;
    };
    const Case cases[] = {
        {percentText(0.32), "32%"},
        {percentText(0.005), "1%"},  // halves away from zero
        {percentText(0.004), "0%"},
        {percentText(-0.004), "0%"},  // never "-0%"
        {percentText(1.2), "120%"},
        {temperatureText(54.0), "54°C"},
        {temperatureText(54.5), "55°C"},
        {temperatureText(-0.4), "0°C"},
        {temperatureText(-12.6), "-13°C"},
        {rateText(1'200'000), "1.2 MB/s"},
        {rateText(80'000), "80 KB/s"},
        {rateText(999.9), "999 bytes/s"},  // fractions of a byte dropped
        {rateText(1), "1 byte/s"},
        {rateText(0), "Zero KB/s"},
        {rateText(-5000), "Zero KB/s"},
        {rateText(1e300), "18.45 EB/s"},  // beyond the count: the largest count
        {rateText(std::numeric_limits<double>::quiet_NaN()), "Zero KB/s"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, QString::fromUtf8(c.expected));
}

TEST(WidgetMetric, ByteCountsUseDecimalUnitsAndCarryIntoTheNextUnit)
{
    struct Case {
        uint64_t bytes;
        const char* expected;
    };
    const Case cases[] = {
        {0, "Zero KB"},          {2, "2 bytes"},        {999, "999 bytes"},      {1000, "1 KB"},
        {1499, "1 KB"},          {999'499, "999 KB"},   {999'999, "1 MB"},       {1'000'000, "1 MB"},
        {1'250'000, "1.3 MB"},   {1'234'567'890, "1.23 GB"}, {1'500'000'000, "1.5 GB"},
        {999'999'999'999, "1 TB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(formatByteCount(c.bytes, ByteCountStyle::file), QString::fromLatin1(c.expected));
    }
}

TEST(WidgetMetric, ColoursChangeAtTheirBoundaries)
{
    struct Battery {
        int64_t percent;
        bool charging;
        MetricColor color;
    };
    const Battery batteries[] = {
        {0, false, MetricColor::red},    {10, false, MetricColor::red},   {11, false, MetricColor::orange},
        {20, false, MetricColor::orange}, {21, false, MetricColor::green}, {100, false, MetricColor::green},
        {5, true, MetricColor::green},   {15, true, MetricColor::green},  {-3, false, MetricColor::red},
    };
    for (const auto& b : batteries) {
        SCOPED_TRACE(testing::Message() << b.percent << "% charging " << b.charging);
        EXPECT_EQ(batteryColor(b.percent, b.charging), b.color);
    }

    // Fractions against the snapshot's own thresholds.
    EXPECT_EQ(metricColor(0.9, 0.75, 0.9), MetricColor::red);
    EXPECT_EQ(metricColor(0.75, 0.75, 0.9), MetricColor::orange);
    EXPECT_EQ(metricColor(0.7499, 0.75, 0.9), MetricColor::green);
    EXPECT_EQ(metricColor(0.5, 0.4, 0.5), MetricColor::red);

    EXPECT_EQ(temperatureColor(79.9), MetricColor::green);
    EXPECT_EQ(temperatureColor(80), MetricColor::orange);
    EXPECT_EQ(temperatureColor(89.9), MetricColor::orange);
    EXPECT_EQ(temperatureColor(90), MetricColor::red);

    // A CPU fraction at the snapshot's critical threshold is red in the
    // metric the views draw.
    auto stats = baseStats();
    stats.cpu = 0.6;
    stats.critical = 0.6;
    EXPECT_EQ(cpuMetric(stats).color, MetricColor::red);
}

TEST(WidgetMetric, RingListsTakeOneFourthMetricInPriorityOrder)
{
    struct Case {
        const char* what;
        std::optional<double> gpu;
        std::optional<int64_t> battery;
        std::optional<double> temperature;
        QStringList expected;
    };
    const Case cases[] = {
        {"all three", 0.18, 82, 54.0, {"cpu", "mem", "disk", "gpu"}},
        {"no GPU", std::nullopt, 82, 54.0, {"cpu", "mem", "disk", "battery"}},
        {"temperature only", std::nullopt, std::nullopt, 54.0, {"cpu", "mem", "disk", "temp"}},
        {"none", std::nullopt, std::nullopt, std::nullopt, {"cpu", "mem", "disk"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto stats = baseStats();
        stats.gpu = c.gpu;
        stats.batteryPercent = c.battery;
        stats.cpuTemperature = c.temperature;
        EXPECT_EQ(ids(ringMetrics(stats)), c.expected);
    }

    auto full = baseStats();
    full.gpu = 0.18;
    full.batteryPercent = 82;
    full.cpuTemperature = 54.0;
    EXPECT_EQ(ids(allMetrics(full)), (QStringList{"cpu", "mem", "disk", "gpu", "battery", "temp"}));
    full.gpu.reset();
    EXPECT_EQ(ids(allMetrics(full)), (QStringList{"cpu", "mem", "disk", "battery", "temp"}));
}

TEST(WidgetMetric, SingleMetricsCarryTheirValuesSymbolsAndFractions)
{
    auto stats = baseStats();
    const Metric cpu = cpuMetric(stats);
    EXPECT_EQ(cpu, (Metric{"cpu", "CPU", "cpu", 0.32, "32%", MetricColor::green}));
    EXPECT_EQ(memoryMetric(stats).symbol, QStringLiteral("memorychip"));

    const Metric charging = batteryMetric(15, true);
    EXPECT_EQ(charging.symbol, QStringLiteral("battery.100percent.bolt"));
    EXPECT_EQ(charging.value, QStringLiteral("15%"));
    EXPECT_DOUBLE_EQ(charging.fraction, 0.15);
    EXPECT_EQ(charging.color, MetricColor::green);
    // No charging state reads as not charging.
    const Metric unknown = batteryMetric(15, std::nullopt);
    EXPECT_EQ(unknown.symbol, QStringLiteral("battery.75percent"));
    EXPECT_EQ(unknown.color, MetricColor::orange);

    EXPECT_DOUBLE_EQ(temperatureMetric(55).fraction, 0.5);
    EXPECT_DOUBLE_EQ(temperatureMetric(110).fraction, 1.0);
    EXPECT_DOUBLE_EQ(temperatureMetric(150).fraction, 1.0);
    EXPECT_DOUBLE_EQ(temperatureMetric(-5).fraction, 0.0);
}

TEST(WidgetMetric, ValuesNoMonitorWritesAreHeldToTheirRangesInTextAsInDrawing)
{
    // A well-formed snapshot that the main program cannot have written.
    auto stats = baseStats();
    stats.cpu = 1e308;
    stats.memory = -5.0;
    stats.disk = -0.0;
    stats.gpu = 7.5;
    stats.batteryPercent = -9007199254740993LL;
    stats.cpuTemperature = -273.15;
    stats.accessories = {{QStringLiteral("Mouse"), -900, false, QStringLiteral("computermouse")},
                         {QStringLiteral("Pad"), 250, false, QStringLiteral("gamecontroller")}};
    struct Case {
        Metric metric;
        const char* value;
        double fraction;
    };
    const Case cases[] = {
        {cpuMetric(stats), "100%", 1.0},
        {memoryMetric(stats), "0%", 0.0},
        {diskMetric(stats), "0%", 0.0},
        {gpuMetric(stats, *stats.gpu), "100%", 1.0},
        {batteryMetric(*stats.batteryPercent, false), "0%", 0.0},
        {batteryMetric(101, false), "100%", 1.0},
        {temperatureMetric(*stats.cpuTemperature), "0°C", 0.0},
        {temperatureMetric(1e9), "150°C", 1.0},
        {deviceMetrics(stats).at(1), "0%", 0.0},
        {deviceMetrics(stats).at(2), "100%", 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.metric.id.toStdString());
        EXPECT_EQ(c.metric.value, QString::fromUtf8(c.value));
        EXPECT_DOUBLE_EQ(c.metric.fraction, c.fraction);
    }
    EXPECT_EQ(cpuMetric(stats).color, MetricColor::red);
    EXPECT_EQ(temperatureMetric(1e9).color, MetricColor::red);
}

TEST(WidgetMetric, DeviceListStartsWithTheMachineThenAccessoriesInOrder)
{
    auto stats = baseStats();
    stats.accessories = {{QStringLiteral("Trackball"), 64, false, QStringLiteral("computermouse")},
                         {QStringLiteral("Pad"), 15, false, QStringLiteral("gamecontroller")},
                         {QStringLiteral("Buds"), 8, false, QStringLiteral("headphones")},
                         {QStringLiteral("Pen"), 8, true, QStringLiteral("pencil")}};
    auto metrics = deviceMetrics(stats);
    EXPECT_EQ(ids(metrics), (QStringList{"Trackball", "Pad", "Buds", "Pen"}));
    const MetricColor colors[] = {MetricColor::green, MetricColor::orange, MetricColor::red, MetricColor::green};
    const char* values[] = {"64%", "15%", "8%", "8%"};
    for (size_t i = 0; i < metrics.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(metrics[i].color, colors[i]);
        EXPECT_EQ(metrics[i].value, QString::fromLatin1(values[i]));
        EXPECT_EQ(metrics[i].name, stats.accessories[i].name);
        EXPECT_EQ(metrics[i].symbol, stats.accessories[i].symbol);
    }

    stats.batteryPercent = 9;
    stats.batteryCharging = true;
    metrics = deviceMetrics(stats);
    ASSERT_EQ(metrics.size(), 5u);
    EXPECT_EQ(metrics[0], (Metric{"mac", "This computer", "laptopcomputer", 0.09, "9%", MetricColor::green}));

    stats.batteryPercent.reset();
    stats.accessories.clear();
    EXPECT_TRUE(deviceMetrics(stats).empty());
}
