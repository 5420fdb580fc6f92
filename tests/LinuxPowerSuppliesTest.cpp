#include "doubles/FakeClock.h"
#include "platform/linux/LinuxPowerSupplies.h"
#include "TempTree.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

using namespace orbistat;
using test::FakeClock;
using test::TempTree;

namespace {

const QString type = QStringLiteral("Type");
const QString current = QStringLiteral("Current Capacity");
const QString charging = QStringLiteral("Is Charging");
const QString state = QStringLiteral("Power Source State");
const QString toEmpty = QStringLiteral("Time to Empty");
const QString toFull = QStringLiteral("Time to Full Charge");

PropertyDictionary description(LinuxPowerSupplies& supplies)
{
    const auto list = supplies.sources();
    EXPECT_TRUE(list && list->size() == 1 && list->front());
    return list && !list->empty() && list->front() ? *list->front() : PropertyDictionary{};
}

void writeSupply(TempTree& tree, const std::string& name, std::initializer_list<std::pair<const char*, const char*>> files)
{
    for (const auto& [file, content] : files)
        tree.write("sys/class/power_supply/" + name + "/" + file, content);
}

} // namespace

TEST(LinuxPowerSupplies, IntelLaptopOnBattery)
{
    FakeClock clock;
    LinuxPowerSupplies supplies(LinuxRoot(test::fixture("intel-laptop/t0"), true), clock);
    const PropertyDictionary expected{
        {type, QStringLiteral("InternalBattery")}, {current, int64_t{78}}, {QStringLiteral("Max Capacity"), int64_t{100}},
        {charging, false}, {state, QStringLiteral("Battery Power")}, {toEmpty, int64_t{248}}, {toFull, int64_t{-1}},
    };
    EXPECT_EQ(description(supplies), expected);
    const PropertyDictionary registry{
        {QStringLiteral("CycleCount"), int64_t{312}}, {QStringLiteral("DesignCapacity"), int64_t{57000}},
        {QStringLiteral("AppleRawMaxCapacity"), int64_t{51300}}, {QStringLiteral("Voltage"), int64_t{12100}},
        {QStringLiteral("Amperage"), int64_t{-800}},
    };
    EXPECT_EQ(supplies.properties(), registry);
    EXPECT_EQ(supplies.batteryDischargeWatts(), 9.68);
    EXPECT_FALSE(supplies.adapterWatts());  // AC is offline
}

TEST(LinuxPowerSupplies, InternalBatteryIsEverySystemBatteryThatIsPresent)
{
    TempTree tree;
    writeSupply(tree, "0-mouse", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "15"}});
    writeSupply(tree, "BAT0", {{"type", "Battery"}, {"present", "0"}, {"capacity", "20"}});
    writeSupply(tree, "BAT1", {{"type", "Battery"}, {"capacity", "65"}, {"status", "Full"}});
    writeSupply(tree, "BAT2", {{"type", "Battery"}, {"capacity", "99"}});
    FakeClock clock;
    LinuxPowerSupplies supplies(tree.root(), clock);
    const auto battery = description(supplies);
    // Neither reports its energy: the two percentages weigh the same.
    EXPECT_EQ(integerProperty(battery, current), 82);
    // Full means the charger is connected even without a mains entry.
    EXPECT_EQ(textProperty(battery, state), QStringLiteral("AC Power"));
    EXPECT_EQ(integerProperty(battery, toEmpty), -1);
}

TEST(LinuxPowerSupplies, TwoBatteriesAreOneAsTheDesktopShowsThem)
{
    // BAT1 drains while BAT0 sits full and says "Not charging".
    FakeClock clock;
    LinuxPowerSupplies supplies(LinuxRoot(test::fixture("two-battery-laptop/t0"), true), clock);
    const PropertyDictionary expected{
        // (23.48 + 26.4) / (23.48 + 66) Wh; 49.88 Wh at 8.5 W.
        {type, QStringLiteral("InternalBattery")}, {current, int64_t{56}}, {QStringLiteral("Max Capacity"), int64_t{100}},
        {charging, false}, {state, QStringLiteral("Battery Power")}, {toEmpty, int64_t{352}}, {toFull, int64_t{-1}},
    };
    EXPECT_EQ(description(supplies), expected);
    // Cycles, capacities and temperature of the first battery; the current
    // of both at the first one's voltage (8.5 W at 12.81 V).
    const PropertyDictionary registry{
        {QStringLiteral("CycleCount"), int64_t{211}}, {QStringLiteral("DesignCapacity"), int64_t{24000}},
        {QStringLiteral("AppleRawMaxCapacity"), int64_t{23480}}, {QStringLiteral("Temperature"), int64_t{3010}},
        {QStringLiteral("Voltage"), int64_t{12810}}, {QStringLiteral("Amperage"), int64_t{-664}},
    };
    EXPECT_EQ(supplies.properties(), registry);
    EXPECT_EQ(supplies.batteryDischargeWatts(), 8.5);
}

TEST(LinuxPowerSupplies, TwoBatteriesChargeStateAndTimes)
{
    using Files = std::initializer_list<std::pair<const char*, const char*>>;
    struct Case {
        const char* what;
        bool acOnline;
        Files first, second;
        int64_t percent;
        bool isCharging;
        const char* state;
        int64_t toEmpty, toFull;
    };
    const Case cases[] = {
        {"charging when either charges: (80 - 50) Wh at 10 W", true,
         {{"status", "Charging"}, {"energy_now", "20000000"}, {"energy_full", "40000000"}, {"power_now", "10000000"}},
         {{"status", "Not charging"}, {"energy_now", "30000000"}, {"energy_full", "40000000"}, {"power_now", "0"}},
         63, true, "AC Power", -1, 180},
        {"on battery although one says Not charging", false,
         {{"status", "Not charging"}, {"energy_now", "40000000"}, {"energy_full", "40000000"}},
         {{"status", "Discharging"}, {"energy_now", "10000000"}, {"energy_full", "40000000"}, {"power_now", "-10000000"}},
         63, false, "Battery Power", 300, -1},
        {"a mains supply online wins over a discharging battery", true,
         {{"status", "Discharging"}, {"energy_now", "10000000"}, {"energy_full", "40000000"}, {"power_now", "5000000"}},
         {{"status", "Unknown"}, {"energy_now", "10000000"}, {"energy_full", "40000000"}},
         25, false, "AC Power", -1, -1},
        {"charge converted at the battery's voltage (2 Ah at 10 V = 20 Wh)", false,
         {{"status", "Discharging"}, {"energy_now", "20000000"}, {"energy_full", "40000000"}, {"power_now", "20000000"}},
         {{"status", "Discharging"}, {"charge_now", "2000000"}, {"charge_full", "4000000"}, {"current_now", "0"}, {"voltage_min_design", "10000000"}},
         50, false, "Battery Power", 120, -1},
        {"charge without a voltage cannot be added: the percentages are", false,
         {{"status", "Discharging"}, {"capacity", "30"}, {"energy_now", "12000000"}, {"energy_full", "40000000"}, {"power_now", "6000000"}},
         {{"status", "Discharging"}, {"capacity", "70"}, {"charge_now", "2800000"}, {"charge_full", "4000000"}},
         50, false, "Battery Power", -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempTree tree;
        writeSupply(tree, "AC", {{"type", "Mains"}, {"online", c.acOnline ? "1" : "0"}});
        writeSupply(tree, "BAT0", {{"type", "Battery"}});
        writeSupply(tree, "BAT0", c.first);
        writeSupply(tree, "BAT1", {{"type", "Battery"}});
        writeSupply(tree, "BAT1", c.second);
        FakeClock clock;
        LinuxPowerSupplies supplies(tree.root(), clock);
        const auto battery = description(supplies);
        EXPECT_EQ(integerProperty(battery, current), c.percent);
        EXPECT_EQ(boolProperty(battery, charging), c.isCharging);
        EXPECT_EQ(textProperty(battery, state), QString::fromLatin1(c.state));
        EXPECT_EQ(integerProperty(battery, toEmpty), c.toEmpty);
        EXPECT_EQ(integerProperty(battery, toFull), c.toFull);
    }
}

TEST(LinuxPowerSupplies, TimesFromTheDriverOrFromTheRate)
{
    struct Case {
        const char* what;
        std::initializer_list<std::pair<const char*, const char*>> files;
        int64_t toEmpty;
        int64_t toFull;
    };
    const Case cases[] = {
        {"the driver's seconds, rounded", {{"status", "Discharging"}, {"time_to_empty_now", "5430"}, {"energy_now", "1"}, {"power_now", "1"}}, 91, -1},
        {"energy over power", {{"status", "Discharging"}, {"energy_now", "30000000"}, {"power_now", "-15000000"}}, 120, -1},
        {"charge over current", {{"status", "Charging"}, {"charge_now", "1000000"}, {"charge_full", "4000000"}, {"current_now", "1500000"}}, -1, 120},
        {"no rate", {{"status", "Discharging"}, {"energy_now", "30000000"}, {"power_now", "0"}}, -1, -1},
        {"an absurd estimate is none", {{"status", "Discharging"}, {"energy_now", "18446744073709551615"}, {"power_now", "1"}}, -1, -1},
        {"charging with nothing to go", {{"status", "Charging"}, {"energy_now", "50"}, {"energy_full", "40"}, {"power_now", "10"}}, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempTree tree;
        writeSupply(tree, "BAT0", {{"type", "Battery"}});
        writeSupply(tree, "BAT0", c.files);
        FakeClock clock;
        LinuxPowerSupplies supplies(tree.root(), clock);
        const auto battery = description(supplies);
        EXPECT_EQ(integerProperty(battery, toEmpty), c.toEmpty);
        EXPECT_EQ(integerProperty(battery, toFull), c.toFull);
    }
}

TEST(LinuxPowerSupplies, CurrentIsNegativeWhileDischargingWhateverTheDriverSays)
{
    struct Case {
        const char* status;
        const char* current;
        bool acOnline;
        int64_t amperage;
    };
    for (const Case c : {Case{"Discharging", "1200000", false, -1200}, Case{"Discharging", "-1200000", false, -1200},
                         Case{"Charging", "-1200000", true, 1200}, Case{"Discharging", "300000", true, -300}, Case{"Unknown", "500000", false, -500}}) {
        SCOPED_TRACE(std::string(c.status) + " " + c.current);
        TempTree tree;
        writeSupply(tree, "AC", {{"type", "Mains"}, {"online", c.acOnline ? "1" : "0"}});
        writeSupply(tree, "BAT0", {{"type", "Battery"}, {"status", c.status}, {"current_now", c.current}});
        FakeClock clock;
        LinuxPowerSupplies supplies(tree.root(), clock);
        EXPECT_EQ(integerProperty(supplies.properties().value(), QStringLiteral("Amperage")), c.amperage);
    }
}
