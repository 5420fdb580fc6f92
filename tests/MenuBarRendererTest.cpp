#include "app/StatusLine.h"
#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "doubles/FakeClock.h"
#include "menubar/MenuBarRenderer.h"

#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace orbistat;
namespace R = orbistat::MenuBarRenderer;

namespace {

struct MenuBarRendererTest : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Orbistat.conf"))};

    std::vector<MenuBarItem> itemsOf(const MonitorReadings& readings, std::vector<MenuBarModule> modules)
    {
        return R::items(readings, modules, settings);
    }
    MenuBarItem only(const MonitorReadings& readings, MenuBarModule module)
    {
        auto list = itemsOf(readings, {module});
        EXPECT_EQ(list.size(), 1u);
        return list.empty() ? MenuBarItem{} : list.front();
    }
};

BatterySample battery(int64_t percent, bool isCharging, bool isPluggedIn)
{
    BatterySample sample;
    sample.percent = percent;
    sample.isCharging = isCharging;
    sample.isPluggedIn = isPluggedIn;
    return sample;
}

MonitorReadings withCpu(double total, std::vector<double> history = {})
{
    MonitorReadings readings;
    readings.cpu.total = total;
    readings.history(MonitorHistory::cpu) = std::move(history);
    return readings;
}

// The (unpremultiplied) pixel at a point in logical coordinates.
QColor pixelAt(const QImage& image, double x, double y)
{
    return image.pixelColor(static_cast<int>(x * R::devicePixelRatio), static_cast<int>(y * R::devicePixelRatio));
}

// The most opaque pixel of a region in logical coordinates: the inside of a
// glyph stroke, whose colour is the text colour without edge blending.
QColor strongestPixel(const QImage& image, const QRectF& logical)
{
    const QRect area(static_cast<int>(logical.left() * 2), static_cast<int>(logical.top() * 2), static_cast<int>(logical.width() * 2),
                     static_cast<int>(logical.height() * 2));
    QColor best(0, 0, 0, 0);
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y) {
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > best.alpha())
                best = c;
        }
    }
    return best;
}

void expectColour(const QColor& actual, const QColor& expected)
{
    EXPECT_NEAR(actual.red(), expected.red(), 6);
    EXPECT_NEAR(actual.green(), expected.green(), 6);
    EXPECT_NEAR(actual.blue(), expected.blue(), 6);
    EXPECT_NEAR(actual.alpha(), expected.alpha(), 6);
}

} // namespace

TEST(MenuBarText, PercentAndCompactRate)
{
    const std::pair<double, const char*> percents[] = {
        {0.0, "0%"}, {0.934, "93%"}, {0.96, "96%"}, {0.005, "1%"}, {0.125, "13%"}, {1.0, "100%"}, {std::nan(""), "0%"},
    };
    for (const auto& [fraction, expected] : percents) {
        SCOPED_TRACE(fraction);
        EXPECT_EQ(R::percentText(fraction).toStdString(), expected);
    }
    const std::pair<double, const char*> rates[] = {
        {-5.0, "0K"},       {999.0, "0K"},        {1000.0, "1K"},        {1500.0, "2K"},       {999'999.0, "1000K"},
        {1'500'000, "1.5M"}, {9'990'000, "10.0M"}, {25'000'000, "25M"},  {999'000'000, "999M"}, {1e9, "1.0G"},
        {2.46e9, "2.5G"},    {std::nan(""), "0K"}, {INFINITY, "0K"},
        // Exact halves round to even, as "%.0f" and "%.1f" do.
        {2500.0, "2K"},      {3500.0, "4K"},      {1'250'000, "1.2M"},   {12'500'000, "12M"},  {1.25e9, "1.2G"},
    };
    for (const auto& [rate, expected] : rates) {
        SCOPED_TRACE(rate);
        EXPECT_EQ(R::compactRate(rate).toStdString(), expected);
    }
}

TEST_F(MenuBarRendererTest, SeverityFollowsTheStoredThresholdsAtEveryCall)
{
    EXPECT_EQ(R::severity(0.95, settings), MenuBarSeverity::critical);
    EXPECT_EQ(R::severity(0.9, settings), MenuBarSeverity::critical);
    EXPECT_EQ(R::severity(0.8, settings), MenuBarSeverity::warning);
    EXPECT_EQ(R::severity(0.74, settings), MenuBarSeverity::normal);
    settings.setValue(SettingsKey::warningThreshold, 0.5);
    settings.setValue(SettingsKey::criticalThreshold, 0.6);
    EXPECT_EQ(R::severity(0.55, settings), MenuBarSeverity::warning);
    EXPECT_EQ(R::severity(0.8, settings), MenuBarSeverity::critical);
}

TEST_F(MenuBarRendererTest, ItemsPerModule)
{
    MonitorReadings r = withCpu(0.8, {0.1, 0.2});
    r.memory = MemorySample{1000, 500, 100, 0, 0, MemorySample::Pressure::critical};
    r.disk = DiskSample{1000, 140, std::nullopt, std::nullopt};  // 86 % used
    r.gpu = 0.3;
    r.sensors.cpu = 89.9;
    r.history(MonitorHistory::cpuTemperature) = {55.0, 220.0, -4.0};
    r.battery = battery(15, false, true);  // plugged in, not charging

    const auto list = itemsOf(r, {MenuBarModule::battery, MenuBarModule::cpu, MenuBarModule::memory, MenuBarModule::disk,
                                  MenuBarModule::gpu, MenuBarModule::temperature});
    ASSERT_EQ(list.size(), 6u);
    // Order is the module order given.
    EXPECT_EQ(list[0], (MenuBarItem{"BAT", {"15%"}, MenuBarSeverity::normal, {}, 0.15, "100%"}));
    EXPECT_EQ(list[1], (MenuBarItem{"CPU", {"80%"}, MenuBarSeverity::warning, {0.1, 0.2}, 0.8, "100%"}));
    // Memory severity is the pressure level, not the fraction.
    EXPECT_EQ(list[2], (MenuBarItem{"RAM", {"60%"}, MenuBarSeverity::critical, {}, 0.6, "100%"}));
    EXPECT_EQ(list[3].lines, QStringList{"86%"});
    EXPECT_EQ(list[3].severity, MenuBarSeverity::warning);  // 0.86 ≥ 0.92 − 0.07
    EXPECT_EQ(list[3].label, "DISK");
    EXPECT_EQ(list[4].lines, QStringList{"30%"});
    EXPECT_EQ(list[5], (MenuBarItem{"TEMP", {"89°"}, MenuBarSeverity::warning, {0.5, 1.0, 0.0}, 89.9 / 110.0, "100°"}));

    r.disk.available = 160;  // 84 %
    EXPECT_EQ(only(r, MenuBarModule::disk).severity, MenuBarSeverity::normal);
    r.disk.available = 50;   // 95 %
    EXPECT_EQ(only(r, MenuBarModule::disk).severity, MenuBarSeverity::critical);
    r.sensors.cpu = 90.0;
    EXPECT_EQ(only(r, MenuBarModule::temperature).severity, MenuBarSeverity::critical);
    r.sensors.cpu = -3.7;
    EXPECT_EQ(only(r, MenuBarModule::temperature).lines, QStringList{"-3°"});  // truncated toward zero

    const struct {
        BatterySample sample;
        const char* label;
        MenuBarSeverity severity;
    } batteries[] = {
        {battery(15, false, false), "BAT", MenuBarSeverity::warning},
        {battery(20, false, false), "BAT", MenuBarSeverity::warning},
        {battery(21, false, false), "BAT", MenuBarSeverity::normal},
        {battery(10, false, false), "BAT", MenuBarSeverity::critical},
        {battery(5, true, true), "CHG", MenuBarSeverity::normal},
    };
    for (const auto& b : batteries) {
        SCOPED_TRACE(b.sample.percent);
        r.battery = b.sample;
        const auto item = only(r, MenuBarModule::battery);
        EXPECT_EQ(item.label, b.label);
        EXPECT_EQ(item.severity, b.severity);
    }
}

TEST_F(MenuBarRendererTest, ModulesWithoutDataAreSkipped)
{
    MonitorReadings r = withCpu(0.2);
    r.sensors.cpu = std::nan("");
    const auto list = itemsOf(r, {MenuBarModule::disk, MenuBarModule::gpu, MenuBarModule::temperature, MenuBarModule::battery,
                                  MenuBarModule::cpu});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].label, "CPU");
    EXPECT_EQ(R::accessibilityText({}), "Orbistat");
    EXPECT_EQ(R::render({}, MenuBarStyle::stacked, true, Appearance::dark).width(), 2);  // 1 point
}

TEST_F(MenuBarRendererTest, NetworkShowsBothRatesAndScalesTheDownloadHistory)
{
    MonitorReadings r;
    r.network = NetworkSample{1'500'000, 999};
    r.history(MonitorHistory::download) = {50'000, 25'000};
    r.history(MonitorHistory::upload) = {9e9};
    auto item = only(r, MenuBarModule::network);
    EXPECT_EQ(item.lines, (QStringList{"↓1.5M", "↑0K"}));
    EXPECT_EQ(item.severity, MenuBarSeverity::normal);
    EXPECT_EQ(item.reference, "↓1000M");
    EXPECT_EQ(item.history, (std::vector<double>{0.5, 0.25}));  // below the 100 kB/s floor
    r.history(MonitorHistory::download) = {400'000, 100'000, 800'000};
    item = only(r, MenuBarModule::network);
    EXPECT_EQ(item.history, (std::vector<double>{0.5, 0.125, 1.0}));
}

TEST_F(MenuBarRendererTest, DemoMonitorReadsAsTheAccessibilityLine)
{
    test::FakeClock clock;
    SystemMonitor monitor(MonitorSamplers{}, settings, clock);
    monitor.enterDemoMode();
    EXPECT_EQ(statusItemText(monitor, settings), "CPU 34%, RAM 59%");
    settings.setValue(SettingsKey::menuBarEnabled, QStringLiteral("network,battery,gpu"));
    EXPECT_EQ(statusItemText(monitor, settings), "NET ↓2.4M ↑180K, GPU 21%, BAT 82%");
    settings.setValue(SettingsKey::menuBarEnabled, QString());
    EXPECT_EQ(statusItemText(monitor, settings), "Orbistat");
}

TEST_F(MenuBarRendererTest, WidthsFollowTheLayoutRules)
{
    const auto cpu = only(withCpu(0.34), MenuBarModule::cpu);
    MonitorReadings memoryReadings;
    memoryReadings.memory = MemorySample{100, 59, 0, 0, 0, MemorySample::Pressure::normal};
    const auto memory = only(memoryReadings, MenuBarModule::memory);
    MonitorReadings netReadings;
    netReadings.network = NetworkSample{2'400'000, 180'000};
    const auto net = only(netReadings, MenuBarModule::network);

    for (const auto style : {MenuBarStyle::inline_, MenuBarStyle::stacked, MenuBarStyle::graph}) {
        SCOPED_TRACE(rawValue(style).toStdString());
        const auto a = R::layout(cpu, style);
        const auto b = R::layout(memory, style);
        const auto n = R::layout(net, style);
        for (const auto& l : {a, b, n}) {
            EXPECT_EQ(l.columnWidth, std::ceil(l.columnWidth));
            EXPECT_GT(l.columnWidth, 10.0);
        }
        const double spacing = style == MenuBarStyle::inline_ ? 10.0 : 8.0;
        if (style == MenuBarStyle::inline_) {
            EXPECT_GT(a.labelWidth, 0.0);
            EXPECT_EQ(a.total, a.labelWidth + 4.0 + a.columnWidth);
            // Two lines reserve two references and a space between them.
            EXPECT_GT(n.columnWidth, 2.0 * a.columnWidth);
        } else {
            EXPECT_EQ(a.labelWidth, 0.0);
            EXPECT_EQ(a.total, a.columnWidth + (style == MenuBarStyle::graph ? 28.0 : 0.0));
        }
        const QImage image = R::render({cpu, memory, net}, style, true, Appearance::light);
        EXPECT_EQ(image.height(), 44);
        EXPECT_EQ(image.devicePixelRatio(), 2.0);
        EXPECT_EQ(image.width(), 2 * static_cast<int>(std::ceil(a.total + b.total + n.total + 2 * spacing)));
        const QImage single = R::render({cpu, memory, net}, style, true, Appearance::light, 1.0);
        EXPECT_EQ(single.size(), QSize(image.width() / 2, 22));
    }
    // Stacked cpu and memory: the two columns plus 8.
    const QImage two = R::render({cpu, memory}, MenuBarStyle::stacked, true, Appearance::light);
    EXPECT_EQ(two.width(), 2 * static_cast<int>(R::layout(cpu, MenuBarStyle::stacked).columnWidth
                                                 + R::layout(memory, MenuBarStyle::stacked).columnWidth + 8.0));
}

TEST_F(MenuBarRendererTest, ValuesStayCentredAcrossMoreValuesThanTheirWidthsKept)
{
    // Text widths are measured once and remembered, a bounded number of
    // them. A stacked value is centred by its width: runs of zeros (whose
    // ink is symmetric), each drawn after hundreds of other values, must
    // still sit in the middle of their column.
    const QString zeros[] = {QStringLiteral("0"), QStringLiteral("00"), QStringLiteral("000"), QStringLiteral("0000")};
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 300; ++i) {
            const MenuBarItem other{QStringLiteral("X"), {QString::number(round * 1000 + i * 7)}, MenuBarSeverity::normal, {}, 0.0,
                                    QStringLiteral("88888")};
            R::render({other}, MenuBarStyle::stacked, true, Appearance::light);
        }
        for (const auto& value : zeros) {
            SCOPED_TRACE(value.toStdString() + " in round " + std::to_string(round));
            const MenuBarItem item{QStringLiteral("X"), {value}, MenuBarSeverity::normal, {}, 0.0, QStringLiteral("88888")};
            const QImage image = R::render({item}, MenuBarStyle::stacked, true, Appearance::light);
            // The value line is the upper half of the image.
            int left = image.width(), right = -1;
            for (int y = 0; y < image.height() / 2; ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (qAlpha(image.pixel(x, y)) > 64) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
                }
            }
            ASSERT_GE(right, left);
            EXPECT_LE(std::abs(left - (image.width() - 1 - right)), 2) << "ink from " << left << " to " << right << " of " << image.width();
        }
    }
}

TEST_F(MenuBarRendererTest, ImageWidthStaysPutWhileValuesChange)
{
    const std::vector<std::pair<double, NetworkSample>> ticks = {
        {0.0, {0, 0}},           {0.07, {1'000, 999}},          {0.58, {1'500'000, 25'000'000}}, {1.0, {99'000'000, 4'400'000}},
        {0.11, {311'000, 88'000}}, {0.5, {999'999, 999'999'999}}, {0.4, {888'000'000, 777'000}},
    };
    for (const auto style : {MenuBarStyle::inline_, MenuBarStyle::stacked, MenuBarStyle::graph}) {
        SCOPED_TRACE(rawValue(style).toStdString());
        std::optional<int> width;
        for (const auto& [load, rates] : ticks) {
            MonitorReadings r = withCpu(load, {load, load});
            r.memory = MemorySample{100, static_cast<uint64_t>(load * 100), 0, 0, 0, MemorySample::Pressure::normal};
            r.network = rates;
            r.gpu = load;
            const auto items = itemsOf(r, {MenuBarModule::cpu, MenuBarModule::memory, MenuBarModule::network, MenuBarModule::gpu});
            const int w = R::render(items, style, true, Appearance::dark).width();
            if (width) {
                EXPECT_EQ(w, *width) << "load " << load << " " << R::accessibilityText(items).toStdString();
            }
            width = w;
        }
    }
}

TEST_F(MenuBarRendererTest, ValueColourFollowsSeverityAndTheColourizeSwitch)
{
    for (const auto appearance : {Appearance::light, Appearance::dark}) {
        SCOPED_TRACE(appearance == Appearance::dark ? "dark" : "light");
        const Palette& colours = palette(appearance);
        const struct {
            double load;
            bool colorize;
            QColor expected;
        } cases[] = {
            {0.95, false, colours.label}, {0.95, true, colours.red}, {0.80, true, colours.orange}, {0.30, true, colours.label},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.load);
            SCOPED_TRACE(c.colorize);
            const auto item = only(withCpu(c.load), MenuBarModule::cpu);
            const QImage image = R::render({item}, MenuBarStyle::stacked, c.colorize, appearance);
            const double width = image.width() / 2.0;
            // The value sits in the lower half, the caption in the upper one.
            expectColour(strongestPixel(image, QRectF(0, 11, width, 11)), c.expected);
            expectColour(strongestPixel(image, QRectF(0, 0, width, 9)), withAlpha(colours.label, 0.6));
        }
    }
}

TEST_F(MenuBarRendererTest, GraphsStayInsideTheirRectangle)
{
    const Palette& colours = palette(Appearance::light);
    const QColor background = withAlpha(colours.label, 0.14);
    // Qt's y grows downwards: the graph spans y 4…18, x 0…24.
    const auto fillAt = [](const QImage& image, double x, double y) { return pixelAt(image, x, y).alpha(); };

    // One value: a bar of fraction × 14 from the bottom.
    {
        auto item = only(withCpu(0.5, {0.5}), MenuBarModule::cpu);
        const QImage image = R::render({item}, MenuBarStyle::graph, false, Appearance::light);
        EXPECT_GT(fillAt(image, 12, 16), 170);                    // inside the bar
        EXPECT_NEAR(fillAt(image, 12, 6), background.alpha(), 3); // above it: background only
        EXPECT_GT(fillAt(image, 12, 11.5), 170);
        EXPECT_LT(fillAt(image, 12, 10.5), 60);
    }
    // Sixty values: only the newest 24 are drawn. The older ones are full,
    // the newest empty, so nothing but the background shows.
    {
        std::vector<double> history(36, 1.0);
        history.insert(history.end(), 24, 0.0);
        auto item = only(withCpu(0.0, history), MenuBarModule::cpu);
        const QImage image = R::render({item}, MenuBarStyle::graph, true, Appearance::light);
        for (double x = 1; x < 23; x += 2)
            EXPECT_NEAR(fillAt(image, x, 10), background.alpha(), 3) << x;
    }
    // Values far outside 0…1 (and NaN) are clamped: a value of 5 fills to
    // the top of the rectangle and nothing spills outside it.
    for (const auto& history : {std::vector<double>{5.0, 5.0}, std::vector<double>{-3.0, std::nan(""), 40.0, 1e300}}) {
        auto item = only(withCpu(7.0, history), MenuBarModule::cpu);
        item.severity = MenuBarSeverity::critical;
        const QImage image = R::render({item}, MenuBarStyle::graph, true, Appearance::light);
        for (int py = 0; py < image.height(); ++py) {
            for (int px = 0; px < 48; ++px) {
                const bool inside = py >= 8 && py < 36;
                if (!inside) {
                    ASSERT_EQ(qAlpha(image.pixel(px, py)), 0) << px << "," << py;
                }
            }
        }
        if (history.front() == 5.0)
            expectColour(pixelAt(image, 12, 5), colours.red);
    }
}

TEST_F(MenuBarRendererTest, ItemsDrawAlikeExactlyWhenTheirImagesAreTheSame)
{
    // A tray compares items instead of drawing them: the comparison must say
    // "alike" only for lists whose pixels are the same, and should say it
    // for a new history point the style does not draw.
    std::vector<double> longHistory(40, 0.3);
    longHistory.back() = 0.6;
    auto olderDiffers = longHistory;
    olderDiffers.front() = 0.9;  // beyond the 24 points a graph shows
    auto newestDiffers = longHistory;
    newestDiffers.back() = 0.2;
    struct Case {
        const char* what;
        MenuBarStyle style;
        MonitorReadings first;
        MonitorReadings second;
        bool alike;
    };
    const Case cases[] = {
        {"a new point, stacked", MenuBarStyle::stacked, withCpu(0.5, {0.4, 0.5}), withCpu(0.5, {0.4, 0.5, 0.5}), true},
        {"a new point, inline", MenuBarStyle::inline_, withCpu(0.5, {0.5}), withCpu(0.5, {0.5, 0.5, 0.5}), true},
        {"another value", MenuBarStyle::stacked, withCpu(0.5, {0.5}), withCpu(0.51, {0.5}), false},
        {"another severity", MenuBarStyle::inline_, withCpu(0.5), withCpu(0.5), false},
        {"a point the graph no longer shows", MenuBarStyle::graph, withCpu(0.6, longHistory), withCpu(0.6, olderDiffers), true},
        {"the newest point", MenuBarStyle::graph, withCpu(0.6, longHistory), withCpu(0.6, newestDiffers), false},
        {"a longer short history", MenuBarStyle::graph, withCpu(0.6, {0.2, 0.6}), withCpu(0.6, {0.2, 0.6, 0.6}), false},
        {"one point or none: the bar", MenuBarStyle::graph, withCpu(0.6, {}), withCpu(0.6, {0.2}), true},
        {"clamped the same", MenuBarStyle::graph, withCpu(1.0, {1.5, 7.0}), withCpu(1.0, {2.0, 1.0}), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto a = itemsOf(c.first, {MenuBarModule::cpu});
        auto b = itemsOf(c.second, {MenuBarModule::cpu});
        if (std::string_view(c.what) == "another severity")
            b.front().severity = MenuBarSeverity::critical;
        const bool sameImage = R::render(a, c.style, true, Appearance::light) == R::render(b, c.style, true, Appearance::light);
        EXPECT_EQ(R::drawsAlike(a, b, c.style), sameImage);
        EXPECT_EQ(sameImage, c.alike);
    }
    EXPECT_FALSE(R::drawsAlike(itemsOf(withCpu(0.5), {MenuBarModule::cpu}), {}, MenuBarStyle::stacked)) << "another number of items";
}

TEST_F(MenuBarRendererTest, StampedTextsGiveThePixelsOfTextsDrawnEachTime)
{
    // Texts are drawn once and then copied; the copies must be the pixels a
    // drawing gives, byte for byte, wherever a text lands: other positions,
    // other items around it, every ratio, colour and style. Texts whose ink
    // leaves their room (accents stacked high) or meets other ink must still
    // come out as drawn.
    const QString above = QStringLiteral("a") + QString(24, QChar(0x0301));
    const QString below = QStringLiteral("7") + QString(24, QChar(0x0323));
    const QString reaching = QStringLiteral("8") + QString(4, QChar(0x0301));
    const QStringList labels = {QStringLiteral("CPU"), QStringLiteral("RAM"), QStringLiteral("jgpq"), QStringLiteral("WWWWW"), QString(),
                                QStringLiteral("\u0645\u0639\u0627\u0644\u062C"), above};
    const QStringList values = {QStringLiteral("34%"), QStringLiteral("100%"), QStringLiteral("\u21932.4M"), QStringLiteral("\u2191180K"),
                                QStringLiteral("-7\u00B0"), QString(), below, reaching, QStringLiteral("1")};
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    for (int round = 0; round < 160; ++round) {
        std::vector<MenuBarItem> items;
        const auto count = 1 + next(3);
        for (uint32_t i = 0; i < count; ++i) {
            MenuBarItem item;
            item.label = labels[static_cast<qsizetype>(next(static_cast<uint32_t>(labels.size())))];
            item.lines = {values[static_cast<qsizetype>(next(static_cast<uint32_t>(values.size())))]};
            if (next(3) == 0)
                item.lines.append(values[static_cast<qsizetype>(next(static_cast<uint32_t>(values.size())))]);
            item.severity = static_cast<MenuBarSeverity>(next(3));
            for (uint32_t p = next(30); p > 0; --p)
                item.history.push_back(static_cast<double>(next(120)) / 100.0);
            item.fraction = static_cast<double>(next(100)) / 100.0;
            item.reference = next(2) ? QStringLiteral("100%") : QString();
            items.push_back(item);
        }
        const auto style = static_cast<MenuBarStyle>(next(3));
        const bool colorize = next(2) == 0;
        const auto appearance = next(2) ? Appearance::dark : Appearance::light;
        const double ratio = static_cast<double>(1 + next(4));
        SCOPED_TRACE("round " + std::to_string(round) + ", " + rawValue(style).toStdString() + " at " + std::to_string(ratio) + ": "
                     + R::accessibilityText(items).toStdString());
        const QImage drawn = R::render(items, style, colorize, appearance, ratio, R::TextDrawing::direct);
        // Twice: first while stamps are made, then from the stamps.
        for (int pass = 0; pass < 2; ++pass) {
            const QImage stamped = R::render(items, style, colorize, appearance, ratio);
            ASSERT_EQ(stamped.size(), drawn.size());
            ASSERT_EQ(stamped.format(), drawn.format());
            for (int y = 0; y < drawn.height(); ++y) {
                ASSERT_EQ(std::memcmp(stamped.constScanLine(y), drawn.constScanLine(y), static_cast<size_t>(drawn.width()) * 4), 0)
                    << "row " << y << " in pass " << pass;
            }
        }
    }
}
