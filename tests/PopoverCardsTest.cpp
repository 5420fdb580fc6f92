// The eight cards from the demo values and from unusual samples: what rows
// they show, the texts, symbols, bars and colours.
#include "PopoverFixture.h"
#include "PopoverPixels.h"
#include "ui/OffscreenRender.h"
#include "ui/Theme.h"
#include "ui/cards/AccessoriesCard.h"
#include "ui/cards/AccessoryLine.h"
#include "ui/cards/BatteryCard.h"
#include "ui/cards/CPUCard.h"
#include "ui/cards/DiskCard.h"
#include "ui/cards/GPUCard.h"
#include "ui/cards/MemoryCard.h"
#include "ui/cards/NetworkCard.h"
#include "ui/cards/SensorsCard.h"
#include "ui/components/Column.h"
#include "ui/components/CoreBars.h"
#include "ui/components/DisclosureButton.h"
#include "ui/components/Divider.h"
#include "ui/components/RingGauge.h"
#include "ui/components/SegmentedBar.h"
#include "ui/components/Sparkline.h"
#include "ui/components/StatRow.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TextLabel.h"
#include "ui/components/ValueHeadline.h"
#include "ui/popover/PopoverRender.h"
#include "ui/popover/PopoverView.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QAccessible>
#include <gtest/gtest.h>

using namespace orbistat;
using namespace orbistat::ui;

namespace {

// A popover for the fixture's monitor, laid out and brought up to date as
// when it is shown.
struct Popover {
    explicit Popover(test::PopoverFixture& fixture)
        : view(fixture.monitor, fixture.settings)
    {
        update();
    }
    void update() { renderPopover(view, 0, 1.0); }

    template <typename Card>
    Card& card(PopoverCard which)
    {
        return *static_cast<Card*>(view.card(which));
    }

    PopoverView view;
};

// Would be on screen with the popover (itself and every parent shown).
bool shown(const QWidget* part)
{
    return part && part->isVisibleTo(part->window());
}

} // namespace

TEST(CPUCard, RingRowsAndBarsFromTheSample)
{
    test::PopoverFixture fixture;
    DemoData data = makeDemoData();
    data.cpu = {0.37, 0.25, 0.12, {0.0, 0.95, 0.5}};
    fixture.publish(data);
    Popover popover(fixture);
    auto& card = popover.card<CPUCard>(PopoverCard::cpu);
    EXPECT_EQ(card.title(), QStringLiteral("CPU"));
    EXPECT_EQ(card.symbol(), QStringLiteral("cpu"));
    EXPECT_EQ(card.subtitle(), QStringLiteral("CPU"));  // no processor sampler behind the demo monitor
    EXPECT_DOUBLE_EQ(card.ring()->fraction(), 0.37);
    EXPECT_EQ(card.userRow()->value(), QStringLiteral("25%"));
    EXPECT_EQ(card.userRow()->dot(), ColorRole::accent);
    EXPECT_EQ(card.systemRow()->value(), QStringLiteral("12%"));
    EXPECT_EQ(card.systemRow()->dot(), ColorRole::orange);
    EXPECT_EQ(card.idleRow()->value(), QStringLiteral("63%"));
    EXPECT_EQ(card.idleRow()->dot(), ColorRole::secondary);
    EXPECT_EQ(card.coreSummary()->text(), QStringLiteral("3 cores"));
    EXPECT_EQ(card.coreBars()->count(), 3u);
    EXPECT_EQ(card.ring()->size(), QSize(76, 76));
    EXPECT_EQ(card.coreBars()->height(), 30);

    // Above 100 % in total: no idle time at all.
    data.cpu.total = 1.2;
    fixture.publish(data);
    popover.update();
    EXPECT_EQ(card.idleRow()->value(), QStringLiteral("0%"));
    EXPECT_EQ(card.ring()->color(), ColorRole::red);
}

TEST(MemoryCard, UsedOfTotalBarRowsAndPressure)
{
    test::PopoverFixture fixture;
    Popover popover(fixture);
    auto& card = popover.card<MemoryCard>(PopoverCard::memory);
    EXPECT_EQ(card.symbol(), QStringLiteral("memorychip"));
    EXPECT_EQ(card.subtitle(), QStringLiteral("Pressure: normal"));
    EXPECT_EQ(card.headline()->value(), QStringLiteral("19 GB"));
    EXPECT_EQ(card.headline()->caption(), QStringLiteral("of 32 GB"));
    const auto& segments = card.bar()->segments();
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_DOUBLE_EQ(segments[0].fraction, 13.0 / 32.0);
    EXPECT_EQ(segments[0].color, ColorRole::accent);
    EXPECT_EQ(segments[1].color, ColorRole::orange);
    EXPECT_EQ(segments[2].color, ColorRole::purple);
    EXPECT_EQ(card.appRow()->value(), QStringLiteral("13 GB"));
    EXPECT_EQ(card.wiredRow()->value(), QStringLiteral("4 GB"));
    EXPECT_EQ(card.compressedRow()->value(), QStringLiteral("2 GB"));
    EXPECT_EQ(card.swapRow()->value(), QStringLiteral("512 MB"));
    EXPECT_FALSE(card.swapRow()->dot().has_value());
    EXPECT_DOUBLE_EQ(card.chart()->top(), 1.0);

    const std::pair<MemorySample::Pressure, const char*> pressures[] = {
        {MemorySample::Pressure::warning, "Pressure: warning"}, {MemorySample::Pressure::critical, "Pressure: critical"}};
    for (const auto& [pressure, text] : pressures) {
        DemoData data = makeDemoData();
        data.memory.pressure = pressure;
        fixture.publish(data);
        popover.update();
        EXPECT_EQ(card.subtitle(), QString::fromLatin1(text));
    }

    // A total of 0 divides by 1: empty parts give an empty bar, not NaN.
    DemoData empty = makeDemoData();
    empty.memory = {};
    fixture.publish(empty);
    popover.update();
    for (const auto& segment : card.bar()->segments())
        EXPECT_DOUBLE_EQ(segment.fraction, 0.0);
    EXPECT_EQ(card.headline()->caption(), QStringLiteral("of Zero KB"));
}

TEST(NetworkCard, WifiDetailsWithSignalFillAndNoise)
{
    test::PopoverFixture fixture;
    DemoData data = makeDemoData();
    data.networkInfo.rssi = -65;
    data.networkInfo.noise = -90;
    fixture.publish(data);
    Popover popover(fixture);
    auto& card = popover.card<NetworkCard>(PopoverCard::network);
    EXPECT_EQ(card.symbol(), QStringLiteral("wifi"));
    EXPECT_EQ(card.subtitle(), QStringLiteral("Home"));
    EXPECT_EQ(card.downloadRate()->text(), QStringLiteral("2.4 MB/s"));
    EXPECT_EQ(card.uploadRate()->text(), QStringLiteral("180 KB/s"));
    EXPECT_EQ(card.downloadChart()->color(), ColorRole::accent);
    EXPECT_EQ(card.uploadChart()->color(), ColorRole::green);
    EXPECT_TRUE(shown(card.divider()));
    EXPECT_TRUE(shown(card.signalRow()));
    EXPECT_EQ(card.signalRow()->value(), QStringLiteral("-65 dBm · Fair"));
    EXPECT_EQ(card.signalRow()->leadingSymbol(), QStringLiteral("wifi"));
    ASSERT_TRUE(card.signalRow()->leadingSymbolValue().has_value());
    EXPECT_DOUBLE_EQ(*card.signalRow()->leadingSymbolValue(), 0.5);
    EXPECT_EQ(litLayers(QStringLiteral("wifi"), 0.5), 2);
    EXPECT_EQ(card.noiseRow()->value(), QStringLiteral("25 dB"));
    EXPECT_EQ(card.linkSpeedRow()->value(), QStringLiteral("866 Mbps"));
    EXPECT_FALSE(shown(card.privacyRow()));
    EXPECT_FALSE(shown(card.debugLine()));
    EXPECT_EQ(card.interfaceRow()->value(), QStringLiteral("Wi-Fi (en0)"));
    EXPECT_EQ(card.addressRow()->value(), QStringLiteral("192.168.1.24"));

    // A withheld name: the subtitle falls back, the notice and its button,
    // the diagnostic line.
    data.networkInfo.ssid.reset();
    data.networkInfo.noise.reset();
    data.networkInfo.ssidHiddenByPrivacy = true;
    data.networkInfo.debug = QStringLiteral("location status 2 (not granted) · en0");
    fixture.publish(data);
    popover.update();
    EXPECT_EQ(card.subtitle(), QStringLiteral("Wi-Fi"));
    EXPECT_FALSE(shown(card.noiseRow()));
    EXPECT_TRUE(shown(card.privacyRow()));
    EXPECT_EQ(card.fixButton()->text(), QStringLiteral("Fix"));
    EXPECT_TRUE(shown(card.debugLine()));
    EXPECT_EQ(card.debugLine()->text(), *data.networkInfo.debug);
}

TEST(NetworkCard, EthernetOtherAndOfflineConnections)
{
    test::PopoverFixture fixture;
    Popover popover(fixture);
    auto& card = popover.card<NetworkCard>(PopoverCard::network);
    struct Case {
        NetworkInfo info;
        const char* symbol;
        const char* subtitle;
        bool details;
    };
    NetworkInfo ethernet;
    ethernet.kind = NetworkInfo::Kind::ethernet;
    ethernet.interface = QStringLiteral("enp3s0");
    ethernet.localIP = QStringLiteral("10.0.0.2");
    NetworkInfo vpn;
    vpn.kind = NetworkInfo::Kind::other;
    vpn.interface = QStringLiteral("wg0");
    vpn.displayName = QStringLiteral("VPN");
    NetworkInfo unnamed;
    unnamed.kind = NetworkInfo::Kind::other;
    const Case cases[] = {
        {ethernet, "cable.connector", "Ethernet", true},
        {vpn, "network", "VPN", true},
        {unnamed, "network", "Connected", true},
        {NetworkInfo{}, "wifi.slash", "Offline", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subtitle);
        DemoData data = makeDemoData();
        data.networkInfo = c.info;
        fixture.publish(data);
        popover.update();
        EXPECT_EQ(card.symbol(), QString::fromLatin1(c.symbol));
        EXPECT_EQ(card.subtitle(), QString::fromLatin1(c.subtitle));
        EXPECT_EQ(shown(card.divider()), c.details);
        EXPECT_EQ(shown(card.details()), c.details);
        // The Wi-Fi rows never, the rates and charts always.
        EXPECT_FALSE(shown(card.signalRow()) && shown(card.details()));
        EXPECT_FALSE(shown(card.linkSpeedRow()) && shown(card.details()));
        EXPECT_TRUE(shown(card.downloadChart()) && shown(card.uploadChart()));
    }
    DemoData data = makeDemoData();
    data.networkInfo = ethernet;
    fixture.publish(data);
    popover.update();
    EXPECT_EQ(card.interfaceRow()->value(), QStringLiteral("enp3s0"));
    EXPECT_EQ(card.addressRow()->value(), QStringLiteral("10.0.0.2"));
    data.networkInfo = vpn;
    fixture.publish(data);
    popover.update();
    EXPECT_EQ(card.interfaceRow()->value(), QStringLiteral("VPN (wg0)"));
    EXPECT_FALSE(shown(card.addressRow()));
}

TEST(DiskCard, UsedSpaceBarAndRatesOnceMeasured)
{
    test::PopoverFixture fixture;
    Popover popover(fixture);
    auto& card = popover.card<DiskCard>(PopoverCard::disk);
    EXPECT_EQ(card.subtitle(), QStringLiteral("420 GB free"));
    EXPECT_EQ(card.headline()->value(), QStringLiteral("574.66 GB"));
    EXPECT_EQ(card.headline()->caption(), QStringLiteral("of 994.66 GB"));
    EXPECT_NEAR(card.bar()->segments().at(0).fraction, 574662584320.0 / 994662584320.0, 1e-12);
    EXPECT_TRUE(shown(card.ratesRow()));
    EXPECT_EQ(card.readRow()->value(), QStringLiteral("38 MB/s"));
    EXPECT_EQ(card.writeRow()->value(), QStringLiteral("12 MB/s"));
    EXPECT_EQ(card.writeRow()->dot(), ColorRole::green);

    struct Case {
        DiskSample disk;
        const char* used;
        double share;
        bool rates;
        const char* write;
    };
    const Case cases[] = {
        {{1000, 5000, std::nullopt, std::nullopt}, "Zero KB", 0.0, false, ""},  // first sample, broken sizes
        {{0, 0, 10.0, std::nullopt}, "Zero KB", 0.0, true, "Zero KB/s"},        // no size; write absent reads 0
    };
    for (const auto& c : cases) {
        DemoData data = makeDemoData();
        data.disk = c.disk;
        fixture.publish(data);
        popover.update();
        EXPECT_EQ(card.headline()->value(), QString::fromLatin1(c.used));
        EXPECT_DOUBLE_EQ(card.bar()->segments().at(0).fraction, c.share);
        EXPECT_EQ(shown(card.ratesRow()), c.rates);
        if (c.rates) {
            EXPECT_EQ(card.writeRow()->value(), QString::fromLatin1(c.write));
        }
    }
}

TEST(GPUCard, ChartColouredByTheCurrentValue)
{
    test::PopoverFixture fixture;
    Popover popover(fixture);
    auto& card = popover.card<GPUCard>(PopoverCard::gpu);
    EXPECT_EQ(card.subtitle(), QStringLiteral("21%"));
    EXPECT_EQ(card.symbol(), QStringLiteral("display"));
    const std::pair<double, ColorRole> cases[] = {{0.92, ColorRole::red}, {0.8, ColorRole::orange}, {0.5, ColorRole::accent}};
    for (const auto& [gpu, color] : cases) {
        DemoData data = makeDemoData();
        data.gpu = gpu;
        fixture.publish(data);
        popover.update();
        EXPECT_EQ(card.chart()->color(), color) << gpu;
    }
    // Thresholds changed in the settings window recolour it.
    fixture.settings.setValue(SettingsKey::warningThreshold, 0.4);
    popover.update();
    EXPECT_EQ(card.chart()->color(), ColorRole::orange);
}

TEST(SensorsCard, TemperaturesPowerFansAndTheCollapsedList)
{
    test::PopoverFixture fixture;
    DemoData data = makeDemoData();
    data.sensors.cpu = 52.4;
    data.sensors.cpuHottest = 68.0;
    data.sensors.all = {{QStringLiteral("CPU Package id 0"), 68.0}, {QStringLiteral("NAND Composite"), 38.0}};
    data.sensors.fans = {{0, 1850.0, 1200.0, 6000.0}, {1, 900.0, 1200.0, 6000.0}, {2, 3000.0, 2000.0, 2000.0}};
    fixture.publish(data);
    Popover popover(fixture);
    auto& card = popover.card<SensorsCard>(PopoverCard::sensors);
    EXPECT_EQ(card.subtitle(), QStringLiteral("CPU 52°C"));
    EXPECT_FALSE(shown(card.unavailableText()));
    EXPECT_EQ(card.cpuRow()->value(), QStringLiteral("52°C (max 68°C)"));
    EXPECT_EQ(card.gpuRow()->value(), QStringLiteral("47°C"));
    EXPECT_EQ(card.socRow()->label(), QStringLiteral("SoC"));
    EXPECT_EQ(card.ssdRow()->value(), QStringLiteral("38°C"));
    EXPECT_EQ(card.batteryRow()->value(), QStringLiteral("31°C"));
    EXPECT_TRUE(shown(card.chart()));
    EXPECT_EQ(card.chart()->color(), ColorRole::orange);
    EXPECT_DOUBLE_EQ(card.chart()->top(), 110.0);

    EXPECT_TRUE(shown(card.powerDivider()));
    EXPECT_EQ(card.powerRow(0)->value(), QStringLiteral("18.4 W"));
    EXPECT_FALSE(shown(card.powerRow(1)));  // no adapter
    EXPECT_EQ(card.powerRow(2)->value(), QStringLiteral("4.2 W"));
    EXPECT_EQ(card.powerRow(2)->dot(), ColorRole::accent);
    EXPECT_EQ(card.powerRow(3)->dot(), ColorRole::green);
    EXPECT_EQ(card.powerRow(4)->dot(), ColorRole::purple);
    EXPECT_EQ(card.powerRow(5)->dot(), ColorRole::orange);

    // Fans: Fan 1 at about 0.135 of its range; below the minimum an empty
    // bar; a range of nothing no bar at all.
    EXPECT_EQ(card.fanRow(0)->label(), QStringLiteral("Fan 1"));
    EXPECT_EQ(card.fanRow(0)->value(), QStringLiteral("1850 rpm"));
    EXPECT_NEAR(card.fanBar(0)->segments().at(0).fraction, 650.0 / 4800.0, 1e-12);
    EXPECT_EQ(segmentShare(card.fanBar(1)->segments().at(0).fraction), 0.0);
    EXPECT_EQ(card.fanRow(2)->label(), QStringLiteral("Fan 3"));
    EXPECT_FALSE(shown(card.fanBar(2)));
    EXPECT_EQ(card.fanRow(3), nullptr);

    // Two readings: the group, collapsed, titled with the count.
    EXPECT_TRUE(shown(card.allSensorsButton()));
    EXPECT_EQ(card.allSensorsButton()->text(), QStringLiteral("All sensors (2)"));
    EXPECT_FALSE(card.showsAllSensors());
    EXPECT_FALSE(shown(card.allSensorsList()));
    EXPECT_EQ(card.sensorRow(0), nullptr);
    card.allSensorsButton()->click();
    popover.update();
    EXPECT_TRUE(shown(card.allSensorsList()));
    ASSERT_NE(card.sensorRow(1), nullptr);
    EXPECT_EQ(card.sensorRow(0)->label(), QStringLiteral("CPU Package id 0"));
    EXPECT_EQ(card.sensorRow(1)->value(), QStringLiteral("38°C"));
    card.allSensorsButton()->click();
    EXPECT_EQ(card.sensorRow(0), nullptr);
}

TEST(SensorsCard, WhatIsLeftOutWhenTheMachineReportsLess)
{
    test::PopoverFixture fixture;
    Popover popover(fixture);
    auto& card = popover.card<SensorsCard>(PopoverCard::sensors);

    // Only fans: the not-available text, then the fan rows.
    DemoData data = makeDemoData();
    data.sensors = {};
    data.sensors.fans = {{0, 1850.0, std::nullopt, std::nullopt}};
    fixture.publish(data);
    popover.update();
    EXPECT_EQ(card.subtitle(), std::nullopt);
    EXPECT_TRUE(shown(card.unavailableText()));
    EXPECT_EQ(card.unavailableText()->text(), QStringLiteral("Temperatures are not available on this computer."));
    EXPECT_FALSE(shown(card.temperatures()));
    EXPECT_FALSE(shown(card.chart()));
    EXPECT_FALSE(shown(card.powerDivider()));
    EXPECT_TRUE(shown(card.fans()));
    EXPECT_FALSE(shown(card.fanBar(0)));

    // A temperature history of one value: rows but no chart. One reading in
    // the list: no group.
    data.sensors.cpu = 50.0;
    data.sensors.all = {{QStringLiteral("CPU Tctl"), 50.0}};
    data.histories[static_cast<size_t>(MonitorHistory::cpuTemperature)] = {50.0};
    fixture.publish(data);
    popover.update();
    EXPECT_TRUE(shown(card.cpuRow()));
    EXPECT_FALSE(shown(card.gpuRow()));
    EXPECT_FALSE(shown(card.chart()));
    EXPECT_FALSE(shown(card.allSensorsButton()));
}

TEST(BatteryCard, SymbolSubtitleAndBarColourByChargeAndPower)
{
    struct Case {
        int64_t percent;
        bool charging;
        bool plugged;
        const char* symbol;
        const char* subtitle;
        ColorRole bar;
    };
    const Case cases[] = {
        {12, false, false, "battery.0percent", "On battery", ColorRole::red},
        {12, false, true, "battery.0percent", "Plugged in", ColorRole::green},
        {100, true, true, "battery.100percent.bolt", "Charging", ColorRole::green},
        {20, false, false, "battery.25percent", "On battery", ColorRole::red},
        {21, false, false, "battery.25percent", "On battery", ColorRole::orange},
        {40, false, false, "battery.50percent", "On battery", ColorRole::orange},
        {41, false, false, "battery.50percent", "On battery", ColorRole::green},
        {63, false, false, "battery.75percent", "On battery", ColorRole::green},
        {88, false, false, "battery.100percent", "On battery", ColorRole::green},
        {-5, false, false, "battery.0percent", "On battery", ColorRole::red},
    };
    test::PopoverFixture fixture;
    Popover popover(fixture);
    auto& card = popover.card<BatteryCard>(PopoverCard::battery);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        BatterySample battery;
        battery.percent = c.percent;
        battery.isCharging = c.charging;
        battery.isPluggedIn = c.plugged;
        card.setBattery(battery);
        EXPECT_EQ(card.symbol(), QString::fromLatin1(c.symbol));
        EXPECT_EQ(card.subtitle(), QString::fromLatin1(c.subtitle));
        EXPECT_EQ(card.bar()->segments().at(0).color, c.bar);
        EXPECT_DOUBLE_EQ(card.bar()->segments().at(0).fraction, c.percent / 100.0);
        // Without a time: only the percentage in the header row; no rows.
        EXPECT_EQ(card.headline()->caption(), QString());
        EXPECT_FALSE(shown(card.powerRow()) || shown(card.capacityRow()) || shown(card.cyclesRow()) || shown(card.temperatureRow()));
    }

    // The demo battery, from the monitor (after a machine without one).
    DemoData none = makeDemoData();
    none.battery.reset();
    fixture.publish(none);
    popover.update();
    fixture.publish(makeDemoData());
    popover.update();
    EXPECT_EQ(card.headline()->value(), QStringLiteral("82%"));
    EXPECT_EQ(card.headline()->caption(), QStringLiteral("left: 6h 50m"));
    EXPECT_EQ(card.powerRow()->label(), QStringLiteral("Discharge power"));
    EXPECT_EQ(card.powerRow()->value(), QStringLiteral("6.2 W"));
    EXPECT_EQ(card.capacityRow()->value(), QStringLiteral("96%"));
    EXPECT_EQ(card.cyclesRow()->value(), QStringLiteral("142"));
    EXPECT_EQ(card.temperatureRow()->value(), QStringLiteral("31°C"));

    BatterySample charging = *makeDemoData().battery;
    charging.isCharging = true;
    charging.minutesRemaining = 45;
    card.setBattery(charging);
    EXPECT_EQ(card.headline()->caption(), QStringLiteral("to full: 45m"));
    EXPECT_EQ(card.powerRow()->label(), QStringLiteral("Charging power"));
}

TEST(AccessoriesCard, OneLinePerAccessoryWithItsColourAndOneAccessibleName)
{
    test::PopoverFixture fixture;
    Popover popover(fixture);
    auto& card = popover.card<AccessoriesCard>(PopoverCard::accessories);
    EXPECT_EQ(card.subtitle(), QStringLiteral("3 connected"));
    EXPECT_EQ(card.symbol(), QStringLiteral("dot.radiowaves.left.and.right"));
    ASSERT_EQ(card.lineCount(), 3u);
    EXPECT_EQ(card.line(1)->iconSymbol(), QStringLiteral("computermouse"));
    EXPECT_EQ(card.line(1)->percentText(), QStringLiteral("64%"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(card.line(1));
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Mouse 64 percent"));
    EXPECT_EQ(face->childCount(), 0);

    struct Case {
        int64_t percent;
        bool charging;
        ColorRole bar;
        const char* icon;
    };
    const Case cases[] = {{10, false, ColorRole::red, "keyboard"},
                          {11, false, ColorRole::orange, "keyboard"},
                          {20, false, ColorRole::orange, "keyboard"},
                          {21, false, ColorRole::green, "keyboard"},
                          {15, true, ColorRole::green, "bolt.fill"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        card.setAccessories({{QStringLiteral("Keys"), c.percent, c.charging, QStringLiteral("keyboard")}});
        ASSERT_EQ(card.lineCount(), 1u);
        EXPECT_EQ(card.line(0)->barColor(), c.bar);
        EXPECT_EQ(card.line(0)->iconSymbol(), QString::fromLatin1(c.icon));
        EXPECT_EQ(card.subtitle(), QStringLiteral("1 connected"));
    }
}

TEST(Cards, EachCardIsOneAccessibleGroupNamedByItsTitle)
{
    test::PopoverFixture fixture;
    Popover popover(fixture);
    for (const auto& info : popoverCardTable) {
        SCOPED_TRACE(info.rawValue);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(popover.view.card(info.card));
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), QAccessible::Grouping);
        EXPECT_EQ(face->text(QAccessible::Name), popover.view.card(info.card)->title());
        EXPECT_GT(face->childCount(), 0);
    }
    auto& cpu = popover.card<CPUCard>(PopoverCard::cpu);
    QAccessibleInterface* ring = QAccessible::queryAccessibleInterface(cpu.ring());
    EXPECT_EQ(ring->role(), QAccessible::ProgressBar);
    EXPECT_EQ(ring->text(QAccessible::Name), QStringLiteral("CPU load"));
    EXPECT_EQ(ring->text(QAccessible::Value), QStringLiteral("34%"));
    auto& network = popover.card<NetworkCard>(PopoverCard::network);
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(network.downloadChart());
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Value), QStringLiteral("2.4 MB/s"));
}
