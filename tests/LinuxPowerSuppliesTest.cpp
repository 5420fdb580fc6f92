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

TEST(LinuxPowerSupplies, InternalBatteryIsTheFirstSystemBatteryThatIsPresent)
{
    TempTree tree;
    writeSupply(tree, "0-mouse", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "15"}});
    writeSupply(tree, "BAT0", {{"type", "Battery"}, {"present", "0"}, {"capacity", "20"}});
    writeSupply(tree, "BAT1", {{"type", "Battery"}, {"capacity", "65"}, {"status", "Full"}});
    writeSupply(tree, "BAT2", {{"type", "Battery"}, {"capacity", "99"}});
    FakeClock clock;
    LinuxPowerSupplies supplies(tree.root(), clock);
    const auto battery = description(supplies);
    EXPECT_EQ(integerProperty(battery, current), 65);
    // Full means the charger is connected even without a mains entry.
    EXPECT_EQ(textProperty(battery, state), QStringLiteral("AC Power"));
    EXPECT_EQ(integerProperty(battery, toEmpty), -1);
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
