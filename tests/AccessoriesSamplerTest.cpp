#include "doubles/FakeAccessorySources.h"
#include "doubles/FakeClock.h"
#include "samplers/AccessoriesSampler.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeBluetoothProfiler;
using test::FakeClock;
using test::FakeDeviceBatteryRegistry;
using test::FakePowerSourceList;

namespace {

QVariantMap powerSource(const QString& name, QVariant current, QVariant max = {}, QVariant charging = {}, QVariant type = {})
{
    QVariantMap source{{"Name", name}, {"Current Capacity", current}};
    if (max.isValid())
        source.insert(QStringLiteral("Max Capacity"), max);
    if (charging.isValid())
        source.insert(QStringLiteral("Is Charging"), charging);
    if (type.isValid())
        source.insert(QStringLiteral("Type"), type);
    return source;
}

RegistryEntry registryEntry(QVariantMap properties, QVariantMap parent = {})
{
    return RegistryEntry{std::move(properties), std::move(parent)};
}

ProfilerDevice profiled(const QString& name, QVariantMap properties)
{
    return ProfilerDevice{name, std::move(properties)};
}

struct AccessoriesSamplerTest : ::testing::Test {
    FakePowerSourceList power;
    FakeDeviceBatteryRegistry registry;
    FakeBluetoothProfiler profiler;
    FakeClock clock;
    AccessoriesSampler sampler{power, registry, profiler, clock};
};

} // namespace

TEST_F(AccessoriesSamplerTest, NoSourcesAtAll)
{
    EXPECT_TRUE(sampler.sample().empty());
    EXPECT_EQ(sampler.diagnostics(), QStringLiteral("power: - | hid: - | bluetooth: - | connected: -"));
}

TEST_F(AccessoriesSamplerTest, PowerSourceBeatsTheProfiler)
{
    power.sources = {powerSource("Magic Keyboard", qlonglong(72), qlonglong(100), true)};
    profiler.devices = std::vector{profiled("Magic Keyboard", {{"device_batteryLevelMain", "40%"}})};
    const auto list = sampler.sample();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], (AccessoryBattery{"Magic Keyboard", 72, true, "keyboard"}));
    EXPECT_EQ(sampler.diagnostics(), QStringLiteral("power: Magic Keyboard 72% | hid: - | bluetooth: Magic Keyboard 40% | "
                                                    "connected: Magic Keyboard [device_batteryLevelMain]"));
}

TEST_F(AccessoriesSamplerTest, RegistryKeyboardSwallowsTheProfilersMagicKeyboard)
{
    registry.registry = {registryEntry({{"BatteryPercent", qlonglong(80)}, {"Product", "Keyboard"}})};
    profiler.devices = std::vector{profiled("Magic Keyboard", {{"device_batteryLevelMain", "35"}})};
    const auto list = sampler.sample();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], (AccessoryBattery{"Keyboard", 80, false, "keyboard"}));
    EXPECT_EQ(sampler.diagnostics(), QStringLiteral("power: - | hid: Keyboard 80% | bluetooth: Magic Keyboard 35% | "
                                                    "connected: Magic Keyboard [device_batteryLevelMain]"));
}

TEST_F(AccessoriesSamplerTest, EarbudsWithPairAndCaseLevels)
{
    profiler.devices = std::vector{
        profiled("Galaxy Buds", {{"device_batteryLevelLeft", "80%"}, {"device_batteryLevelRight", "60%"},
                                 {"device_batteryLevelCase", "40%"}, {"device_minorType", "Headphones"}}),
        // Main and pair levels: the same name twice, the main level first.
        profiled("Studio Phones", {{"device_batteryLevelMain", "90%"}, {"device_batteryLevelLeft", "20%"}}),
        profiled("Speaker", {{"device_address", "AA"}}),
    };
    // The tool run gives the case its own symbol ...
    const auto fromTool = sampler.runProfiler();
    ASSERT_EQ(fromTool.size(), 4u);
    EXPECT_EQ(fromTool[1], (AccessoryBattery{"Galaxy Buds case", 40, false, "earbuds.case"}));
    // ... while the list takes every symbol from the name.
    const auto list = sampler.sample();
    EXPECT_EQ(list, (std::vector<AccessoryBattery>{
                        {"Galaxy Buds", 60, false, "headphones"},
                        {"Galaxy Buds case", 40, false, "headphones"},
                        {"Studio Phones", 90, false, "dot.radiowaves.left.and.right"},
                    }));
    EXPECT_EQ(sampler.profilerDevices(),
              QStringLiteral("Galaxy Buds [device_batteryLevelCase device_batteryLevelLeft device_batteryLevelRight], "
                             "Studio Phones [device_batteryLevelLeft device_batteryLevelMain], Speaker [no battery key]"));
}

TEST_F(AccessoriesSamplerTest, PowerSourceRules)
{
    power.sources = {
        powerSource("Half", qlonglong(50), qlonglong(200)),
        powerSource("Round Up", qlonglong(1), qlonglong(8)),     // 12.5 -> 13
        powerSource("Raw", qlonglong(42), qlonglong(0)),         // no scale: the raw value
        powerSource("Default Max", qlonglong(64)),
        powerSource("Text Max", qlonglong(30), QStringLiteral("200")),
        powerSource("Text Charging", qlonglong(10), qlonglong(100), QStringLiteral("yes")),
        powerSource("Internal", qlonglong(99), {}, {}, QStringLiteral("InternalBattery")),
        powerSource("Ups", qlonglong(98), {}, {}, QStringLiteral("UPS")),
        powerSource("Float Current", 55.0),
        QVariantMap{{"Name", 7}, {"Current Capacity", qlonglong(5)}},
        QVariantMap{{"Current Capacity", qlonglong(5)}},
    };
    const auto list = sampler.sample();
    std::map<QString, int64_t> percents;
    for (const auto& accessory : list)
        percents[accessory.name] = accessory.percent;
    EXPECT_EQ(percents, (std::map<QString, int64_t>{{"Half", 25}, {"Round Up", 13}, {"Raw", 42}, {"Default Max", 64},
                                                    {"Text Max", 30}, {"Text Charging", 10}}));
    for (const auto& accessory : list)
        EXPECT_FALSE(accessory.isCharging) << accessory.name.toStdString();
}

TEST_F(AccessoriesSamplerTest, RegistryNamesFallBackToTheParent)
{
    registry.registry = {
        registryEntry({{"BatteryPercent", qlonglong(10)}, {"DeviceName", "Own Device Name"}}, {{"Product", "Parent Product"}}),
        registryEntry({{"BatteryPercent", 20.7}}, {{"Product", "Parent Product Only"}, {"DeviceName", "x"}}),
        registryEntry({{"BatteryPercent", qlonglong(30)}, {"BatteryStatusFlags", qlonglong(3)}}, {{"DeviceName", "Controller"}}),
        registryEntry({{"BatteryPercent", qlonglong(40)}}),                     // no name anywhere
        registryEntry({{"Product", "No Level"}}),
        registryEntry({{"BatteryPercent", "50"}, {"Product", "Text Level"}}),  // not a number
    };
    EXPECT_EQ(sampler.sample(), (std::vector<AccessoryBattery>{
                                    {"Controller", 30, true, "gamecontroller"},
                                    {"Own Device Name", 10, false, "dot.radiowaves.left.and.right"},
                                    {"Parent Product Only", 20, false, "dot.radiowaves.left.and.right"},
                                }));
}

TEST_F(AccessoriesSamplerTest, HostileNamesAndLevels)
{
    const QString longName = QString(5000, QLatin1Char('k')) + QStringLiteral(" Keyboard");
    power.sources = {
        powerSource("<b>Mouse</b>\x1b[31m\n", qlonglong(50)),
        powerSource("Over", qlonglong(101)),
        powerSource("Under", qlonglong(-1)),
        powerSource("", qlonglong(50)),
        powerSource("★★★", qlonglong(60)),
        powerSource("☆☆", qlonglong(61)),
        powerSource(longName, qlonglong(70)),
        powerSource("★★★", qlonglong(10)),    // the very same name
        powerSource("keyboard", qlonglong(20)),  // the long name's key ends with it
    };
    const auto list = sampler.sample();
    std::vector<QString> names;
    for (const auto& accessory : list)
        names.push_back(accessory.name);
    std::sort(names.begin(), names.end());
    std::vector<QString> expected{"<b>Mouse</b>\x1b[31m\n", "★★★", "☆☆", longName};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    // Every candidate is in the diagnostic line, kept or not.
    const auto diagnostics = sampler.diagnostics();
    EXPECT_TRUE(diagnostics.startsWith(QStringLiteral("power: <b>Mouse</b>\x1b[31m\n 50%, Over 101%, Under -1%,  50%, ★★★ 60%")));
    EXPECT_TRUE(diagnostics.contains(QStringLiteral(", ★★★ 10%, keyboard 20% | hid: -")));
}

TEST_F(AccessoriesSamplerTest, ProfilerRunsAtMostEvery120Seconds)
{
    profiler.devices = std::vector{profiled("Pencil", {{"device_batteryLevelMain", "77%"}})};
    sampler.sample();
    EXPECT_EQ(profiler.runs, 1);
    profiler.devices = std::vector{profiled("Pencil", {{"device_batteryLevelMain", "10%"}})};
    clock.advance(30);
    const auto cached = sampler.sample();
    EXPECT_EQ(profiler.runs, 1);
    ASSERT_EQ(cached.size(), 1u);
    EXPECT_EQ(cached[0].percent, 77);
    clock.advance(89.9);
    sampler.sample();
    EXPECT_EQ(profiler.runs, 1);
    clock.advance(0.1);  // 120 s after the first run
    EXPECT_EQ(sampler.sample()[0].percent, 10);
    EXPECT_EQ(profiler.runs, 2);

    // A failed run empties the cache but keeps the last device text.
    profiler.devices.reset();
    clock.advance(120);
    EXPECT_TRUE(sampler.sample().empty());
    EXPECT_EQ(profiler.runs, 3);
    EXPECT_EQ(sampler.diagnostics(), QStringLiteral("power: - | hid: - | bluetooth: - | connected: Pencil [device_batteryLevelMain]"));
}

TEST(AccessoriesSamplerLevels, OnlyTheDigitsOfATextCount)
{
    const std::vector<std::pair<QVariant, std::optional<int64_t>>> cases{
        {QStringLiteral("85%"), 85},
        {QStringLiteral(" 7 "), 7},
        {QStringLiteral("1 0 0"), 100},
        {QStringLiteral("0x5a (90)"), 590},  // every digit counts, as the rule says
        {QStringLiteral("\u0668\u0665%"), 85},  // Arabic-Indic digits are digits
        {QStringLiteral("%"), std::nullopt},
        {QString(), std::nullopt},
        {QString(30, QLatin1Char('9')), std::nullopt},  // beyond 64 bits
        {QVariant(qlonglong(85)), std::nullopt},
        {QVariant(85.0), std::nullopt},
        {QVariant(), std::nullopt},
    };
    for (const auto& [value, level] : cases) {
        SCOPED_TRACE(value.toString().toStdString());
        EXPECT_EQ(AccessoriesSampler::batteryLevel(value), level);
    }
}
